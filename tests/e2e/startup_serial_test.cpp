// Start-up checks that depend on what the whole prefix shows (the registry,
// the Windows directory) and the background on the screen: run alone.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

const char kWininitWarning[] =
    "Wininit.exe may be corrupted. Setup checked the file size of wininit.exe, and it does not match the file "
    "size of the Windows 95, Windows 98, Windows NT, Windows ME or Windows 2000 version (all 32 bit windows "
    "versions that have been released until the current build of this setup). Therefore, the EXE may be "
    "corrupt and a restart may not be possible. If you have a newer Windows version, this may be a false "
    "alarm. Do you want to continue setup (not recommended if you do not have a newer version of Windows)?";

std::string WininitPath()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, sizeof path);
    return std::string(path) + "\\Wininit.exe";
}

// Puts a Wininit.exe of the given size in place (or none with -1) and
// removes it again afterwards.
class ScopedWininit {
public:
    explicit ScopedWininit(long size)
    {
        DeleteFileA(WininitPath().c_str());
        if (size >= 0)
            testing_support::WriteFile(WininitPath(), std::string(static_cast<size_t>(size), 'W'));
    }
    ~ScopedWininit() { DeleteFileA(WininitPath().c_str()); }
};

// Gives ProgramFilesDir another value for the test, then restores it.
class ScopedProgramFilesDir {
public:
    explicit ScopedProgramFilesDir(const std::string& value)
    {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_ALL_ACCESS, &key_);
        char old[MAX_PATH] = "";
        DWORD size = sizeof old;
        RegQueryValueExA(key_, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size);
        old_ = old;
        Set(value);
    }
    ~ScopedProgramFilesDir()
    {
        Set(old_);
        RegCloseKey(key_);
    }

private:
    void Set(const std::string& value)
    {
        RegSetValueExA(key_, "ProgramFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    HKEY key_ = nullptr;
    std::string old_;
};

std::string SystemMessage(DWORD error)
{
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    return text;
}

bool HasWindowOfClass(DWORD processId, const char* className)
{
    for (HWND window : WindowsOf(processId))
        if (ClassName(window) == className)
            return true;
    return false;
}

const char kGoesOn[] = "ShowMessage(\"[DP]\",\"Goes on\",\"\",\"NOW\");";

// The script's message shows: setup went on past its start-up checks.
void ExpectItGoesOn(SetupRun& setup)
{
    const MessageBoxSeen next = setup.NextMessageBox();
    EXPECT_EQ(next.caption, "Goes on");
    setup.Press(next.window, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

}  // namespace

TEST(StartupChecks, ProgramFilesValueTooLongForItsBufferIsARegistryError)
{
    Medium medium;
    medium.WriteScript(kGoesOn);
    ScopedProgramFilesDir tooLong("C:\\" + std::string(300, 'p'));
    SetupRun setup(medium);
    setup.ExpectMessageBox("Registry error", SystemMessage(ERROR_MORE_DATA), IDOK);
    EXPECT_EQ(setup.WaitForExit(), -6);
}

TEST(StartupChecks, ProgramFilesValueThatJustFits)
{
    Medium medium;
    medium.WriteScript(kGoesOn);
    const std::string longest = "C:\\" + std::string(256, 'p');  // 259 characters and the zero
    ScopedProgramFilesDir fits(longest);
    SetupRun setup(medium);
    setup.ExpectMessageBox("Goes on", longest + "\\", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(StartupChecks, Windows98WithoutWininitWarnsAndGoesOn)
{
    Medium medium;
    medium.WriteScript(kGoesOn);
    ScopedWininit none(-1);
    SetupRun setup(medium, {true});
    setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!", IDOK);
    ExpectItGoesOn(setup);
}

TEST(StartupChecks, Windows98WithSmallWininitAsksBeforeAnyWindow)
{
    Medium medium;
    medium.WriteScript(kGoesOn);
    ScopedWininit small(40800);
    SetupRun setup(medium, {true});
    const MessageBoxSeen warning = setup.NextMessageBox();
    EXPECT_EQ(warning.caption, "Warning");
    EXPECT_EQ(warning.text, kWininitWarning);
    EXPECT_FALSE(HasWindowOfClass(setup.processId(), "SETUPSPLASHCLASS_HI_HOW_DO_YOU_DO"));
    setup.Press(warning.window, IDNO);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(StartupChecks, Windows98WininitSizesAndNtMode)
{
    {
        Medium medium;
        medium.WriteScript(kGoesOn);
        ScopedWininit small(40800);
        SetupRun setup(medium, {true});
        setup.ExpectMessageBox("Warning", kWininitWarning, IDYES);
        ExpectItGoesOn(setup);
    }
    {
        Medium medium;
        medium.WriteScript(kGoesOn);
        ScopedWininit enough(40801);
        SetupRun setup(medium, {true});
        ExpectItGoesOn(setup);
    }
    {
        Medium medium;
        medium.WriteScript(kGoesOn);
        ScopedWininit small(40800);
        SetupRun setup(medium);  // NT: no check at all
        ExpectItGoesOn(setup);
    }
}
