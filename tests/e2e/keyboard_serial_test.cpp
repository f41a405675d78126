// What a keyboard user meets on the pages: where the focus starts, Tab
// through the script's controls, and questions that hold the page. Run
// alone, since only the program in front has the keyboard focus.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;

TEST(Keyboard, FocusStartsOnNextOrTheFirstFieldAndAClickTakesItToTheSectionList)
{
    Medium medium;
    medium.WriteScript("SetAppName(\"App\")\nCreateSection(\"Core\",\"1\",\"0\",\"\")\n"
                       "ShowWelcome()\nShowDest()\nShowSections()\nShowProgramGroup()\n");
    SetupRun setup(medium);
    struct Expected {
        int pageControl;
        int focused;
    };
    for (const Expected& expected : {Expected{IDC_WELCOME_TEXT, IDC_PAGE_NEXT}, Expected{IDC_DEST_ASK_CREATE, IDC_DEST_PATH},
                                     Expected{IDC_SECTIONS_LIST, IDC_PAGE_NEXT}, Expected{IDC_GROUP_NEW, IDC_GROUP_NAME}}) {
        SCOPED_TRACE(expected.pageControl);
        const Page page = setup.WaitForPage(expected.pageControl);
        EXPECT_TRUE(page.WaitForFocus(page.Control(expected.focused)));
        if (expected.pageControl == IDC_SECTIONS_LIST) {
            ClickListItem(page.Control(IDC_SECTIONS_LIST), 0);
            EXPECT_TRUE(page.WaitForFocus(page.Control(IDC_SECTIONS_LIST)));
        }
        page.Click(IDC_PAGE_NEXT);
        ASSERT_TRUE(page.WaitUntilClosed());
    }
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(Keyboard, ReachesTheScriptsControlsAndQuestionsHoldThePage)
{
    Medium medium;
    medium.WriteScript(
        "AddWindow(\"DIALOG_WELCOME\",\"Licence\",\"BUTTON\",\"Licence\",\"0\",\"210\",\"10\",\"300\",\"35\")\n"
        "ShowMessage(\"Be nice.\",\"Licence\",\"Licence\",\"COMMAND\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Agree\",\"CHECKBOX\",\"I agree\",\"0\",\"210\",\"40\",\"400\",\"60\")\n"
        "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"Agree\",\"VALUE\",\"1\")\n"
        "ShowWelcome()\n");
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);
    // Next is disabled until the box is ticked, so the focus moves on from
    // it to the script's first control; the licence box is ticked by
    // keyboard alone.
    EXPECT_TRUE(page.WaitForFocus(page.CustomControl("Licence")));
    HWND agree = page.CustomControl("I agree");
    ASSERT_TRUE(page.TabTo(agree));
    page.PressKeyOnFocus(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return CheckState(agree) == BST_CHECKED; }));
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));

    // Cancel twice opens one question; behind it Next does nothing and
    // the Next condition rests.
    page.Click(IDC_PAGE_CANCEL);
    page.Click(IDC_PAGE_CANCEL);
    const MessageBoxSeen question = setup.NextMessageBox();
    page.Click(IDC_PAGE_NEXT);
    SendMessageA(agree, BM_SETCHECK, BST_UNCHECKED, 0);
    page.Settle();
    Sleep(300);  // six ticks of the timer
    EXPECT_TRUE(page.IsEnabled(IDC_PAGE_NEXT));
    setup.Press(question.window, IDNO);
    page.Settle();
    EXPECT_FALSE(setup.HasOpenMessageBox());
    EXPECT_TRUE(page.IsOpen());
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, false));

    // So does a control's message.
    SendMessageA(agree, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
    page.Click(page.CustomControl("Licence"));
    const MessageBoxSeen licence = setup.NextMessageBox();
    EXPECT_EQ(licence.text, "Be nice.");
    page.Click(IDC_PAGE_NEXT);
    page.Settle();
    setup.Press(licence.window, IDOK);
    page.Settle();
    EXPECT_TRUE(page.IsOpen());
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(Keyboard, EnterTwiceOnAPageWithADisabledNextDoesNotQuit)
{
    Medium medium;
    medium.WriteScript(
        ScriptCall("AddWindow", {"DIALOG_WELCOME", "Agree", "CHECKBOX", "I agree", "0", "210", "40", "400", "60"}) +
        ScriptCall("SetNextDynamicState", {"DIALOG_WELCOME", "CONTROL", "Agree", "VALUE", "1"}) +
        ScriptCall("ShowWelcome"));
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);
    HWND agree = page.CustomControl("I agree");
    EXPECT_TRUE(page.WaitForFocus(agree));
    page.PressKeyOnFocus(VK_RETURN);
    page.PressKeyOnFocus(VK_RETURN);
    page.Settle();
    EXPECT_FALSE(setup.HasOpenMessageBox());
    EXPECT_TRUE(page.IsOpen());
    page.PressKeyOnFocus(VK_SPACE);
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
    page.PressKeyOnFocus(VK_RETURN);
    EXPECT_TRUE(page.WaitUntilClosed());
    EXPECT_EQ(setup.WaitForExit(), 0);
}
