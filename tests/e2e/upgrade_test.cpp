// Upgrades that find the installed version, reinstalls after Unskein, and a
// question about a compressed file that names the file as installed.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// Version `version` of the product: Unskein.exe and a.txt (whose content is
// the version), after `more` script lines.
std::string Version(const InstallCase& test, const std::string& version, const std::string& more)
{
    test.medium.AddFile("a.txt", version);
    return ScriptCall("SetAppName", {test.app}) + ScriptCall("SetAppVersion", {version}) + more +
           ScriptCall("CreateSection", {"Main", "1", "0", ""}) + AddFileCall(UnskeinProgram(), "[DP]\\", "Main") +
           AddFileCall(test.medium / "a.txt", "[DP]\\a.txt", "Main");
}

}  // namespace

// 1.0 goes into a folder the user typed; 1.1 finds it and its group, says
// which version it updates, deletes what 1.0 needs and 1.1 does not, and
// installs there without a question. 1.0 started over 1.1 asks first, and
// No ends it with its code and changes nothing.
TEST(Upgrade, FindsTheInstalledVersionAndAsksBeforeAnOlderOne)
{
    InstallCase test("Ledger");
    auto& [app, medium, root, leftovers] = test;
    const std::string typed = root / "Apps\\Ledger\\";
    const std::string group = root / "Group";
    const std::string system = SystemDirectory() + "\\" + UniqueShortName("TK", "TXT");
    leftovers.File(system);
    WriteFile(system, "not the product's");
    medium.AddFile("old.hlp", "help");
    medium.WriteScript(Version(test, "1.0", ScriptCall("SetVariable", {"DP", typed}) +
                                                ScriptCall("SetVariable", {"PROGRAMGROUP", group})) +
                       AddFileCall(medium / "old.hlp", "[DP]\\old.hlp", "Main") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    WriteFile(typed + "notes.txt", "the user's");

    medium.WriteScript(Version(test, "1.1",
                               ScriptCall("ShowMessage", {"[DP]|[PROGRAMGROUP]|[INSTALLEDVERSION]", "Found", "", "NOW"})) +
                       ScriptCall("DeleteOnInstall", {"[DP]\\*.hlp"}) +
                       ScriptCall("DeleteOnInstall", {system}) + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        setup.ExpectMessageBox("Found", typed + "|" + group + "|1.0", IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0) << "no question";
    }
    EXPECT_EQ(ReadFile(typed + "a.txt"), "1.1");
    EXPECT_FALSE(FileExists(typed + "old.hlp"));
    EXPECT_EQ(ReadFile(typed + "notes.txt"), "the user's");
    EXPECT_EQ(ReadFile(system), "not the product's") << "a system folder is refused";
    EXPECT_EQ(UninstallValue(app, "DisplayVersion"), "1.1");
    EXPECT_EQ(UninstallValue(app, "InstallLocation"), typed);

    medium.WriteScript(Version(test, "1.0", "") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        const MessageBoxSeen question = setup.NextMessageBox();
        EXPECT_EQ(question.caption, "Older version");
        EXPECT_EQ(question.text, "Version 1.1 of " + app + " is installed, which is newer than version 1.0 that "
                                 "this setup installs. Do you want to replace it with the older version?");
        EXPECT_EQ(Style(GetDlgItem(question.window, IDNO)) & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON))
            << "No is the default";
        setup.Press(question.window, IDNO);
        EXPECT_EQ(setup.WaitForExit(), 6);
    }
    EXPECT_EQ(ReadFile(typed + "a.txt"), "1.1");
    EXPECT_EQ(UninstallValue(app, "DisplayVersion"), "1.1");
}

// Unskein leaves its own program and its log; the installation after it is
// a fresh one: the shared file is counted once more from nothing, and the
// files that the log lists are overwritten without a question.
TEST(Reinstall, AfterUnskeinCountsTheSharedFileAndAsksNothing)
{
    InstallCase test("Again");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\";
    const std::string name = UniqueShortName("TA", "TXT");
    const std::string shared = SystemDirectory() + "\\" + name;
    leftovers.File(shared);
    medium.AddFile(name, "shared");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(UnskeinProgram(), "[DP]\\", "Main") +
                       AddFileCall(medium / name, "[DP]\\" + name, "Main", true) + ScriptCall("ShowCopy"));
    for (int run = 0; run < 2; ++run) {
        {
            SetupRun setup(medium);
            EXPECT_EQ(setup.WaitForExit(), 0) << "run " << run << ": no question";
        }
        EXPECT_EQ(SharedCount(shared), "1") << "run " << run;
        if (run == 0)
            RemoveWithUnskein(installDir + "Unskein.exe");
    }
    EXPECT_TRUE(FileExists(installDir + "Unskein.exe"));
}

// An older shared library, compressed on the medium, over a newer one: the
// messages name the library as installed, not its compressed name.
TEST(FileMessages, NameACompressedFileAsInstalled)
{
    InstallCase test("Named");
    auto& [app, medium, root, leftovers] = test;
    const std::string name = UniqueShortName("TN", "DLL");
    const std::string target = SystemDirectory() + "\\" + name;
    leftovers.File(target);
    CopyFixture("german_205.dll", target);  // 2.0
    const std::string compressed = name.substr(0, name.size() - 1) + "_";
    CopyFixture("register_ok.dll_", medium / compressed);  // 1.2
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / "App\\"}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / compressed, "[DP]\\" + name, "Main", true) + ScriptCall("ShowCopy"));
    SetupRun setup(medium);
    setup.ExpectMessageBox(target, shown::kTempFile, IDOK);
    const MessageBoxSeen mismatch = setup.NextMessageBox();
    EXPECT_EQ(mismatch.caption, target);
    setup.Press(mismatch.window, IDNO);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
