// Memory running out: each program says so and ends with a code of its own.
// A file that the program reads whole and that is larger than a 32-bit
// program's memory runs it out: the string reading it must then grow past
// 1.8 GB at once.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

// Reading the file takes some seconds before memory runs out.
constexpr DWORD kReadMs = 60000;

// Nearly 1 GB of zeros that take no room on the disk.
void WriteHugeFile(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    SetFilePointer(file, 1000 << 20, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

// A 64-bit program reads the whole file, or not, as the machine's memory
// has it that moment: only the 32-bit programs that ship run out for sure.
bool ProgramsAre32Bit()
{
    return sizeof(void*) == 4;
}

void ExpectOutOfMemory(ProgramRun& run, const std::string& caption, const std::string& text)
{
    const MessageBoxSeen seen = run.NextMessageBox(kReadMs);
    ASSERT_TRUE(seen.window);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_EQ(seen.text, text);
    run.Press(seen.window, IDOK);
}

}  // namespace

TEST(OutOfMemory, SetupSaysSoAndEndsWithMinus12)
{
    if (!ProgramsAre32Bit())
        GTEST_SKIP() << "1000 MB run out only a 32-bit program's memory";
    Medium medium;
    WriteHugeFile(medium / "SetupScript.INI");
    SetupRun setup(medium);
    ExpectOutOfMemory(setup, "Fatal error", "Setup has run out of memory.");
    EXPECT_EQ(setup.WaitForExit(), -12);
}

TEST(OutOfMemory, UnskeinSaysSoAndEndsWithMinus2)
{
    if (!ProgramsAre32Bit())
        GTEST_SKIP() << "1000 MB run out only a 32-bit program's memory";
    const testing_support::TempDir installed("installed");
    ASSERT_TRUE(CopyFileA(UnskeinProgram().c_str(), (installed / "Unskein.exe").c_str(), FALSE));
    WriteHugeFile(installed / "uninstall.log");
    UnskeinRun unskein(installed / "Unskein.exe");
    unskein.Confirm();
    ExpectOutOfMemory(unskein, "Error", "Uninstall has run out of memory.");
    EXPECT_EQ(unskein.WaitForExit(), -2);
}
