// Shared libraries in use, left by setup.exe for the next restart of Windows
// NT and of Windows 98: two of one base name, one of them compressed, each
// wait in a copy of their own that holds the expanded file. Serial, since
// Wininit.ini belongs to the whole prefix.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The value of the last line of `key` in Wininit.ini's section "rename";
// empty when missing.
std::string WininitRename(const std::string& wininit, const std::string& key)
{
    const std::string line = "\r\n" + key + "=";
    const std::size_t at = wininit.rfind(line);
    if (at == std::string::npos)
        return "";
    const std::size_t start = at + line.size();
    return wininit.substr(start, wininit.find("\r\n", start) - start);
}

void DeferTwoFilesInUse(RunOptions options)
{
    InstallCase test("In Use");
    auto& [app, medium, root, leftovers] = test;
    const std::string system = SystemDirectory();
    const std::string library = UniqueShortName("TI", "DLL");
    const std::string base = library.substr(0, library.size() - 3);
    const std::string control = base + "OCX";
    const std::string compressedControl = base + "OC_";
    const std::string wininit = WindowsDirectory() + "\\Wininit.ini";
    const std::string wininitBefore = ReadFile(wininit);
    CopyFixture("german_205.dll", medium / library);
    CopyFixture("english_201.dll_", medium / compressedControl);
    std::vector<HANDLE> holders;
    for (const std::string& name : {library, control}) {
        leftovers.File(system + "\\" + name);
        CopyFixture("register_fails.dll", system + "\\" + name);  // 1.0, older than both
        holders.push_back(CreateFileA((system + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(holders.back(), INVALID_HANDLE_VALUE);
    }
    // Another program's replacement of the library waits already, older than ours, under a header of its spelling.
    const std::string theirs = medium / "THEIRS.TMP";
    std::string theirLines;
    if (options.windows98) {
        CopyFixture("register_ok.dll", theirs);
        std::string key = ShortPathOf(system + "\\" + library);
        CharLowerA(&key[0]);
        theirLines = "[Rename]\r\n" + key + "=" + theirs + "\r\n";
        WriteFile(wininit, theirLines);
    }
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / ""}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / library, "[DP]\\" + library, "Main", true) +
                       AddFileCall(medium / compressedControl, "[DP]\\" + control, "Main", true) +
                       ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium, options);
        if (options.windows98)
            setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!",
                                   IDOK);
        setup.ExpectMessageBox(library, shown::kSharingViolation, IDOK);
        // Named as installed: the compressed name is not one the user knows.
        setup.ExpectMessageBox(system + "\\" + control, shown::kSharingViolation, IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    for (HANDLE holder : holders)
        CloseHandle(holder);

    const std::string wininitAfter = ReadFile(wininit);
    if (options.windows98) {
        EXPECT_EQ(wininitAfter.find(theirLines), 0u) << "theirs first, ours after it: " << wininitAfter;
        EXPECT_EQ(wininitAfter.find("[rename]"), std::string::npos) << "one section: " << wininitAfter;
        EXPECT_TRUE(FileExists(theirs));
    }
    std::vector<std::string> copies;
    for (const std::string& name : {library, control}) {
        const std::string destination = system + "\\" + name;
        copies.push_back(options.windows98 ? WininitRename(wininitAfter, ShortPathOf(destination))
                                           : PendingRenameSource(destination));
        leftovers.File(copies.back());
        ForgetPendingRename(copies.back());
        EXPECT_EQ(ReadFile(destination), ReadFile(FixturePath("register_fails.dll"))) << "replaced at restart only";
    }
    if (options.windows98)
        WriteFile(wininit, wininitBefore);
    EXPECT_NE(copies[0], copies[1]);
    for (const std::string& copy : copies) {
        EXPECT_EQ(ShortPathOf(copy), copy) << "Wininit reads 8.3 names only";
        EXPECT_EQ(copy.rfind(ShortPathOf(WindowsDirectory() + "\\TEMP") + "\\", 0), 0u) << copy;
    }
    EXPECT_EQ(ReadFile(copies[0]), ReadFile(FixturePath("german_205.dll")));
    EXPECT_EQ(ReadFile(copies[1]), ReadFile(FixturePath("english_201.dll"))) << "expanded";
}

}  // namespace

TEST(FilesInUse, EachWaitsExpandedInACopyOfItsOwn)
{
    DeferTwoFilesInUse({});
}

TEST(FilesInUse, EachWaitsExpandedInACopyOfItsOwnOnWindows98)
{
    DeferTwoFilesInUse({.windows98 = true});
}
