// Shortcuts where people look for them, as a person finds them after an
// installation and after Unskein: on the desktop, in Startup, in a
// subfolder of the program group; and the choices that make them.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

// Made on Windows 98's code paths. The desktop icon is a choice the script
// preselects, the Quick Launch icon one it leaves out; the sections page
// shows neither with a size.
TEST(Shortcuts, AreMadeWhereTheScriptSaysWithTheirPartsAndUnskeinRemovesThem)
{
    InstallCase test("Links");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\", group = root / "Group";
    const std::string tool = installDir + "tool.exe";
    const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + app + ".lnk";
    const std::string startup = ShellFolder(CSIDL_STARTUP) + "\\" + app + ".lnk";
    const std::string quickLaunch =
        ShellFolder(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch\\" + app + ".lnk";
    const std::string settings = group + "\\Tools\\Settings.lnk";
    for (const std::string& link : {desktop, startup, quickLaunch})
        leftovers.File(link);
    medium.AddFile("tool.exe", "a program");
    medium.WriteScript(
        ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
        ScriptCall("SetVariable", {"PROGRAMGROUP", group}) + ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
        ScriptCall("CreateSection", {"Desktop icon", "0", "0", "Create a desktop icon"}) +
        ScriptCall("CreateSection", {"Quick Launch icon", "0", "0", "Create a Quick Launch icon"}) +
        ScriptCall("SetSectionSelected", {"Desktop icon", "1"}) +
        AddFileCall(UnskeinProgram(), "[DP]\\", "Main") + AddFileCall(medium / "tool.exe", "[DP]\\", "Main") +
        ScriptCall("AddShortcut", {"DESKTOP", "[APPNAME]", "[DP]\\tool.exe", "/fresh [APPNAME]",
                                   "[DP]\\tool.exe,1", "Desktop icon"}) +
        ScriptCall("AddShortcut", {"STARTUP", "[APPNAME]", "[DP]\\tool.exe", "", "", "Main"}) +
        ScriptCall("AddShortcut", {"GROUP", "Tools\\Settings", "[DP]\\tool.exe", "-s", "", "Main"}) +
        ScriptCall("AddShortcut", {"QUICKLAUNCH", "[APPNAME]", "[DP]\\tool.exe", "", "", "Quick Launch icon"}) +
        ScriptCall("ShowSections") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium, {.windows98 = true});
        setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!", IDOK);
        const Page sections = setup.WaitForPage(IDC_SECTIONS_LIST);
        const HWND list = sections.Control(IDC_SECTIONS_LIST);
        EXPECT_EQ(ListItemText(list, 1, 1), "");
        EXPECT_EQ(ListItemText(list, 2, 1), "");
        EXPECT_EQ(HighlightedItems(list), (std::vector<int>{0, 1}));
        sections.Click(IDC_PAGE_NEXT);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }

    struct Expected {
        std::string link, arguments, icon;
        int iconIndex;
    };
    for (const Expected& want : {Expected{desktop, "/fresh " + app, tool, 1}, Expected{startup, "", "", 0},
                                 Expected{settings, "-s", "", 0}}) {
        SCOPED_TRACE(want.link);
        const ShortcutSeen seen = ReadShortcut(want.link);
        ASSERT_TRUE(seen.loaded);
        EXPECT_EQ(seen.target, tool);
        EXPECT_EQ(seen.arguments, want.arguments);
        EXPECT_EQ(seen.workingFolder, root / "App");
        EXPECT_EQ(seen.icon, want.icon);
        EXPECT_EQ(seen.iconIndex, want.iconIndex);
    }
    EXPECT_FALSE(FileExists(quickLaunch));
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"),
              ExpectedLog({installDir, "DIR", group, "DIR", ShortPathOf(installDir + "Unskein.exe"), "NONSHARED",
                           ShortPathOf(tool), "NONSHARED", startup, "NONSHARED", startup + "|" + tool, "LINK",
                           group + "\\Tools", "DIR", settings, "NONSHARED", settings + "|" + tool, "LINK", desktop,
                           "NONSHARED", desktop + "|" + tool, "LINK"},
                          app));

    RemoveWithUnskein(installDir + "Unskein.exe");
    for (const std::string& link : {desktop, startup, settings})
        EXPECT_FALSE(FileExists(link)) << link;
    EXPECT_FALSE(DirectoryExists(group));
}
