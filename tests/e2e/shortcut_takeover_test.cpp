// Two installations of one product into two folders share its program
// group: the later one's shortcuts replace the earlier one's. The earlier
// one's Unskein then leaves them, since they point to the other's files.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

TEST(ShortcutTakeover, UninstallingTheEarlierInstallationLeavesTheLatersShortcuts)
{
    InstallCase test("Takeover");
    auto& [app, medium, root, leftovers] = test;
    leftovers.Tree(ProgramsFolder() + "\\" + app);
    medium.AddFile("Notepad Lite.exe", "the editor");
    const auto install = [&](const std::string& folder) {
        medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", folder}) +
                           ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                           AddFileCall(medium / "Notepad Lite.exe", "[DP]\\", "Main", false, "Notepad Lite") +
                           AddFileCall(UnskeinProgram(), "[DP]\\", "Main") + ScriptCall("ShowCopy"));
        SetupRun setup(medium);
        ASSERT_EQ(setup.WaitForExit(), 0);
    };
    const std::string first = root / "Tools\\Notepad Lite\\";
    const std::string second = root / "Program Files\\Notepad Lite\\";
    install(first);
    install(second);
    const std::string shortcut = ProgramsFolder() + "\\" + app + "\\Notepad Lite.lnk";
    ASSERT_EQ(ReadShortcut(shortcut).target, second + "Notepad Lite.exe");

    EXPECT_TRUE(WaitUntil([&] { return Unused(first + "Notepad Lite.exe") && Unused(second + "Notepad Lite.exe"); }));
    RemoveWithUnskein(first + "Unskein.exe");
    EXPECT_FALSE(FileExists(first + "Notepad Lite.exe"));
    EXPECT_EQ(ReadShortcut(shortcut).target, second + "Notepad Lite.exe");
    RemoveWithUnskein(second + "Unskein.exe");
    EXPECT_FALSE(FileExists(shortcut));
}
