// What every wizard page shares, seen on the welcome and destination pages:
// Next and Cancel, the script's custom controls, their messages and the
// timed Next conditions.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

bool SameClass(HWND window, const char* className)
{
    return lstrcmpiA(ClassName(window).c_str(), className) == 0;
}

}  // namespace

TEST(PageFramework, NextGoesOnAndOnlyAConfirmedCancelEndsSetup)
{
    Medium medium;
    medium.WriteScript(
        "ShowWelcome()\n"
        "ShowMessage(\"after the first page\",\"Next\",\"\",\"NOW\")\n"
        "ShowWelcome()\n"
        "ShowMessage(\"never shown\",\"Late\",\"\",\"NOW\")\n");
    SetupRun setup(medium);
    const Page first = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_TRUE(first.IsEnabled(IDC_PAGE_NEXT));
    EXPECT_FALSE(first.IsVisible(IDC_PAGE_LAST));

    // Escape and the close box do nothing; the Cancel click posted after
    // them finds the page still there and asks.
    first.PressEscape();
    first.PressCloseBox();
    first.Click(IDC_PAGE_CANCEL);
    setup.AnswerQuitQuestion(IDNO);
    first.Settle();
    EXPECT_TRUE(first.IsOpen());
    EXPECT_FALSE(setup.HasOpenMessageBox());

    first.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Next", "after the first page", IDOK);
    ASSERT_TRUE(first.WaitUntilClosed());
    const Page second = setup.WaitForPage(IDC_WELCOME_TEXT);
    second.Click(IDC_PAGE_CANCEL);
    setup.AnswerQuitQuestion(IDYES);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(PageFramework, CustomControlsOfEveryKindAreCreatedAfreshForEachShowing)
{
    Medium medium;
    medium.WriteScript(
        "SetAppName(\"Demo\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Check\",\"CHECKBOX\",\"Check me\",\"0\",\"210\",\"10\",\"300\",\"30\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"CheckPush\",\"CHECKBOX_BTNSTYLE\",\"Check push\",\"0\",\"310\",\"10\",\"400\","
        "\"30\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Option\",\"OPTION\",\"Option\",\"0\",\"210\",\"40\",\"300\",\"60\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"OptionPush\",\"OPTION_BTNSTYLE\",\"Option push\",\"0\",\"310\",\"40\",\"400\","
        "\"60\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Label\",\"LABEL\",\"A label for [APPNAME]\",\"0\",\"210\",\"70\",\"400\","
        "\"90\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Field\",\"EDIT\",\"Some text\",\"0\",\"210\",\"100\",\"300\",\"125\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Push\",\"BUTTON\",\"Push\",\"7\",\"310\",\"100\",\"400\",\"125\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Ghost\",\"NoSuchWindowClass\",\"Ghost\",\"0\",\"210\",\"130\",\"300\",\"150\")\n"
        "AddWindow(\"DIALOG_DEST\",\"Elsewhere\",\"LABEL\",\"On another page\",\"0\",\"210\",\"130\",\"300\",\"150\")\n"
        "CheckButton(\"Option\")\n"
        "ShowWelcome()\n"
        "ShowWelcome()\n");
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);

    struct Expected {
        const char* text;
        const char* className;
        DWORD style;
        DWORD exStyle;
        RECT rect;
    };
    const Expected kinds[] = {
        // Controls that take input are reached with Tab.
        {"Check me", "Button", 0x50010003, 0, {210, 10, 300, 30}},
        {"Check push", "Button", 0x50011003, 0, {310, 10, 400, 30}},
        {"Option", "Button", 0x50010009, 0, {210, 40, 300, 60}},
        {"Option push", "Button", 0x50011009, 0, {310, 40, 400, 60}},
        {"A label for Demo", "Static", 0x50000000, 0, {210, 70, 400, 90}},
        {"Some text", "Edit", 0x50010000, 0x280, {210, 100, 300, 125}},
        {"Push", "Button", 0x50010000, 0, {310, 100, 400, 125}},
    };
    const HFONT pageFont = reinterpret_cast<HFONT>(SendMessageA(page.window(), WM_GETFONT, 0, 0));
    for (const Expected& kind : kinds) {
        SCOPED_TRACE(kind.text);
        HWND control = page.CustomControl(kind.text);
        ASSERT_TRUE(control);
        EXPECT_TRUE(SameClass(control, kind.className)) << ClassName(control);
        EXPECT_EQ(Style(control), kind.style) << std::hex << Style(control);
        EXPECT_EQ(ExStyle(control), kind.exStyle) << std::hex << ExStyle(control);
        const RECT rect = RectInParent(control);
        EXPECT_EQ(rect.left, kind.rect.left);
        EXPECT_EQ(rect.top, kind.rect.top);
        EXPECT_EQ(rect.right, kind.rect.right);
        EXPECT_EQ(rect.bottom, kind.rect.bottom);
        EXPECT_EQ(GetDlgCtrlID(control), 0);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), pageFont);
    }
    EXPECT_FALSE(page.CustomControl("Ghost"));
    EXPECT_FALSE(page.CustomControl("On another page"));
    EXPECT_EQ(CheckState(page.CustomControl("Option")), BST_CHECKED);
    EXPECT_EQ(CheckState(page.CustomControl("Check me")), BST_UNCHECKED);

    // What the user does is gone when the page is shown again.
    page.Click(page.CustomControl("Check me"));
    page.Click(page.CustomControl("Option push"));
    page.Type(page.CustomControl("Some text"), "Changed");
    ASSERT_TRUE(WaitUntil([&] { return CheckState(page.CustomControl("Option")) == BST_UNCHECKED; }));
    EXPECT_EQ(CheckState(page.CustomControl("Check me")), BST_CHECKED);
    page.Click(IDC_PAGE_NEXT);
    ASSERT_TRUE(page.WaitUntilClosed());

    const Page again = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_EQ(CheckState(again.CustomControl("Option")), BST_CHECKED);
    EXPECT_EQ(CheckState(again.CustomControl("Option push")), BST_UNCHECKED);
    EXPECT_EQ(CheckState(again.CustomControl("Check me")), BST_UNCHECKED);
    EXPECT_TRUE(again.CustomControl("Some text"));
    EXPECT_FALSE(again.CustomControl("Changed"));
    again.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(PageFramework, NextFollowsTheConditionsOfTheCurrentPage)
{
    Medium medium;
    medium.WriteScript(
        "AddWindow(\"DIALOG_WELCOME\",\"Agree\",\"CHECKBOX\",\"I agree\",\"0\",\"210\",\"10\",\"400\",\"30\")\n"
        "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"Agree\",\"VALUE\",\"1\")\n"
        // For the destination page only; there Agree no longer exists and
        // reads as unchecked, so this state alone would enable Next.
        "SetNextDynamicState(\"DIALOG_DEST\",\"CONTROL\",\"Agree\",\"VALUE\",\"0\")\n"
        "AddWindow(\"DIALOG_DEST\",\"Code\",\"EDIT\",\"\",\"0\",\"20\",\"270\",\"200\",\"290\")\n"
        "SetNextDynamicState(\"DIALOG_DEST\",\"CONTROL\",\"Code\",\"TEXT\",\"Open Sesame\")\n"
        "ShowWelcome()\n"
        "ShowDest()\n");
    SetupRun setup(medium);
    const Page welcome = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_TRUE(welcome.WaitForEnabled(IDC_PAGE_NEXT, false));
    HWND agree = welcome.CustomControl("I agree");
    ASSERT_TRUE(agree);
    welcome.Click(agree);
    EXPECT_TRUE(welcome.WaitForEnabled(IDC_PAGE_NEXT, true));
    welcome.Click(agree);
    EXPECT_TRUE(welcome.WaitForEnabled(IDC_PAGE_NEXT, false));
    welcome.Click(agree);
    welcome.Click(IDC_PAGE_NEXT);

    // Two states on one page: the later one decides.
    const Page destination = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    HWND code = destination.CustomControl("");
    ASSERT_TRUE(code);
    EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, false));
    for (const char* wrong : {"open sesame", "Open Sesame "}) {
        destination.Type(code, "Open Sesame");
        EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, true));
        destination.Type(code, wrong);
        EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, false)) << wrong;
    }
    destination.Type(code, "Open Sesame");
    destination.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(PageFramework, NextFollowsVariables)
{
    Medium medium;
    const std::string wanted = medium.path() + "\\App\\";
    medium.WriteScript(
        "SetAppName(\"App\")\n"
        "SetVariable(\"COUNT\",\"07 apples\")\n"
        "SetNextDynamicState(\"DIALOG_WELCOME\",\"VARIABLE\",\"COUNT\",\"TEXT\",\"7\")\n"
        "SetNextDynamicState(\"DIALOG_WELCOME\",\"VARIABLE\",\"COUNT\",\"VALUE\",\"7\")\n"
        "SetNextDynamicState(\"DIALOG_WELCOME\",\"VARIABLE\",\"COUNT\",\"SIZE\",\"999\")\n"
        "SetNextDynamicState(\"DIALOG_DEST\",\"VARIABLE\",\"DP\",\"TEXT\",\"" + wanted + "\")\n"
        "ShowWelcome()\n"
        "ShowDest()\n"
        "ShowMessage(\"[DP]\",\"DP\",\"\",\"NOW\")\n");
    SetupRun setup(medium);
    const Page welcome = setup.WaitForPage(IDC_WELCOME_TEXT);
    welcome.Click(IDC_PAGE_NEXT);

    // Typing does not change DP; choosing a folder does, at once.
    const Page destination = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, false));
    destination.Type(IDC_DEST_PATH, wanted);
    destination.Click(IDC_DEST_CHOOSE);
    const FolderBrowser browser = setup.WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    // The timer has run while the browser opened; the typed text did not count.
    EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, false));
    browser.Select(medium.path());
    browser.Choose();
    EXPECT_TRUE(destination.WaitForEnabled(IDC_PAGE_NEXT, true));
    destination.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", wanted, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(PageFramework, CommandMessagesFollowTheirControlsNotifications)
{
    Medium medium;
    medium.WriteScript(
        "SetAppName(\"Demo\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Push\",\"BUTTON\",\"Push me\",\"0\",\"210\",\"10\",\"300\",\"35\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Field\",\"EDIT\",\"\",\"0\",\"210\",\"40\",\"300\",\"60\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Label\",\"LABEL\",\"Just a label\",\"0\",\"210\",\"70\",\"300\",\"90\")\n"
        "AddWindow(\"DIALOG_WELCOME\",\"Quiet\",\"EDIT\",\"quiet\",\"0\",\"310\",\"40\",\"400\",\"60\")\n"
        "ShowMessage(\"Label clicked\",\"Label\",\"Label\",\"COMMAND\")\n"
        "ShowMessage(\"first for [APPNAME]\",\"Push 1\",\"Push\",\"COMMAND\")\n"
        "ShowMessage(\"never on a click\",\"Push 2\",\"Push\",\"CLICK\")\n"
        "ShowMessage(\"second\",\"Push 3\",\"Push\",\"COMMAND\")\n"
        "ShowMessage(\"field changed\",\"Field\",\"Field\",\"COMMAND\")\n"
        "ShowWelcome()\n");
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);

    // The label sends no notification; the push button's messages follow in
    // script order, expanded when the commands ran.
    page.ClickWithMouse(page.CustomControl("Just a label"));
    page.Click(page.CustomControl("Push me"));
    setup.ExpectMessageBox("Push 1", "first for Demo", IDOK);
    setup.ExpectMessageBox("Push 3", "second", IDOK);

    // A change of the text shows the field's message once; the focus
    // coming and going shows nothing.
    HWND field = page.CustomControl("");
    ASSERT_TRUE(field);
    for (const char* text : {"a", "ab"}) {
        page.Type(field, text);
        setup.ExpectMessageBox("Field", "field changed", IDOK);
        page.Type(page.CustomControl("quiet"), "quiet");
        page.Settle();
        EXPECT_FALSE(setup.HasOpenMessageBox());
    }
    SendAndWait(field, WM_SETFOCUS);
    SendAndWait(field, WM_KILLFOCUS);
    page.Settle();
    EXPECT_FALSE(setup.HasOpenMessageBox());
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
