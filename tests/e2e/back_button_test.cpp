// Back: the pages shown before open again as the user left them, and the
// commands between them are not carried out again.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;

TEST(BackButton, PagesOpenAgainAsLeftAndTheCommandsBetweenRunOnce)
{
    InstallCase test("Back");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("Main\\main.txt", "main");
    medium.AddFile("Extra\\extra.txt", "extra");
    medium.AddFile("Docs\\docs.txt", "docs");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetBackButton", {"1"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       ScriptCall("CreateSection", {"Extra", "0", "0", ""}) +
                       ScriptCall("CreateSection", {"Docs", "0", "0", ""}) + ScriptCall("ShowWelcome") +
                       ScriptCall("SetVariable", {"RUNS", "[RUNS]x"}) +
                       AddFileCall("[SP]\\Main\\*.*", "[DP]\\", "Main") +
                       AddFileCall("[SP]\\Extra\\*.*", "[DP]\\", "Extra") +
                       AddFileCall("[SP]\\Docs\\*.*", "[DP]\\", "Docs") + ScriptCall("ShowDest") +
                       ScriptCall("ShowSections") + ScriptCall("ShowMessage", {"[RUNS]", "Runs", "", "NOW"}) +
                       ScriptCall("ShowCopy") + ScriptCall("ShowWelcome"));
    const std::string typed = root / "Typed\\";
    SetupRun setup(medium);

    Page welcome = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_FALSE(welcome.IsVisible(IDC_PAGE_LAST)) << "Back on the first page";
    welcome.Click(IDC_PAGE_NEXT);
    Page destination(setup, NextDialogWith(setup, IDC_DEST_ASK_CREATE, welcome.window()));
    EXPECT_TRUE(destination.IsVisible(IDC_PAGE_LAST));
    EXPECT_EQ(destination.Text(IDC_PAGE_LAST), "< &Back");
    destination.Type(IDC_DEST_PATH, typed);
    destination.Click(IDC_PAGE_NEXT);
    Page sections(setup, NextDialogWith(setup, IDC_SECTIONS_LIST, destination.window()));
    const HWND list = sections.Control(IDC_SECTIONS_LIST);
    for (int item : {1, 2, 2})
        ClickListItem(list, item);
    ASSERT_EQ(HighlightedItems(list), (std::vector<int>{0, 1}));

    sections.Click(IDC_PAGE_LAST);
    destination = Page(setup, NextDialogWith(setup, IDC_DEST_ASK_CREATE, sections.window()));
    EXPECT_EQ(destination.Text(IDC_DEST_PATH), typed);
    destination.Click(IDC_PAGE_LAST);
    welcome = Page(setup, NextDialogWith(setup, IDC_WELCOME_TEXT, destination.window()));
    EXPECT_FALSE(welcome.IsVisible(IDC_PAGE_LAST));
    welcome.Click(IDC_PAGE_NEXT);
    destination = Page(setup, NextDialogWith(setup, IDC_DEST_ASK_CREATE, welcome.window()));
    EXPECT_EQ(destination.Text(IDC_DEST_PATH), typed);
    destination.Click(IDC_PAGE_NEXT);
    sections = Page(setup, NextDialogWith(setup, IDC_SECTIONS_LIST, destination.window()));
    EXPECT_EQ(HighlightedItems(sections.Control(IDC_SECTIONS_LIST)), (std::vector<int>{0, 1}));
    sections.Click(IDC_PAGE_NEXT);

    setup.ExpectMessageBox("Runs", "x", IDOK);
    // After the copy page, whose template has no Back, no page goes back.
    const Page after = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_FALSE(after.IsVisible(IDC_PAGE_LAST)) << "Back after the copy page";
    after.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(testing_support::ReadFile(typed + "main.txt"), "main");
    EXPECT_EQ(testing_support::ReadFile(typed + "extra.txt"), "extra");
    EXPECT_FALSE(testing_support::FileExists(typed + "docs.txt"));
}
