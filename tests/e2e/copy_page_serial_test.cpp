// The copy page when the shell cannot tell where the Programs folder is.
// Serial, since it changes the shell folders of every program in the prefix.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Points the user's Programs folder at a drive that does not exist, and
// puts the old value back when it goes.
class ProgramsFolderOnMissingDrive {
public:
    ProgramsFolderOnMissingDrive()
    {
        RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_ALL_ACCESS, &key_);
        DWORD size = sizeof old_;
        hadValue_ = RegQueryValueExA(key_, "Programs", nullptr, &type_, old_, &size) == ERROR_SUCCESS;
        oldSize_ = size;
        const char missing[] = "Q:\\No Such Drive\\Programs";
        RegSetValueExA(key_, "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof missing);
    }
    ~ProgramsFolderOnMissingDrive()
    {
        if (hadValue_)
            RegSetValueExA(key_, "Programs", 0, type_, old_, oldSize_);
        else
            RegDeleteValueA(key_, "Programs");
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    BYTE old_[1024] = {};
    DWORD oldSize_ = 0;
    DWORD type_ = REG_SZ;
    bool hadValue_ = false;
};

}  // namespace

TEST(CopyPageSerial, UnknownProgramsFolderMeansNoGroupAndNoShortcuts)
{
    InstallCase test("No Programs");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("program.exe", "the program");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / ""}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "program.exe", "[DP]\\program.exe", "Main", false, "Program") +
                       ScriptCall("ShowCopy"));
    {
        ProgramsFolderOnMissingDrive missing;
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadFile(root / "Uninstall.log"), ExpectedLog({ShortPathOf(root / "program.exe"), "NONSHARED"}, app));
    EXPECT_EQ(ReadFile(root / "program.exe"), "the program");
    EXPECT_FALSE(DirectoryExists(medium.path().substr(0, 2) + "\\" + app)) << "no group at the drive's root";
}
