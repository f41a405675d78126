// The sections page: sizes, and choosing sections with clicks, keys and the
// Install section checkbox, where a highlighted item is a chosen section.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;

namespace {

using Items = std::vector<int>;

struct SectionsPage {
    HWND page;
    HWND list;

    std::string Comment() const { return WindowText(GetDlgItem(page, IDC_SECTIONS_COMMENT)); }
    bool Shows(int id) const { return IsWindowVisible(GetDlgItem(page, id)) != FALSE; }
    bool InstallChecked() const
    {
        return SendAndWait(GetDlgItem(page, IDC_SECTIONS_INSTALL), BM_GETCHECK) == BST_CHECKED;
    }
    void ClickInstall() const { SendAndWait(GetDlgItem(page, IDC_SECTIONS_INSTALL), BM_CLICK); }
    // What the lower half tells of an optional section: its comment and the
    // Install section checkbox in place of "Section must be installed".
    void ExpectOptional(const std::string& comment, bool checked) const
    {
        EXPECT_EQ(Comment(), comment);
        EXPECT_TRUE(Shows(IDC_SECTIONS_INSTALL));
        EXPECT_FALSE(Shows(IDC_SECTIONS_MUST_INSTALL));
        EXPECT_EQ(InstallChecked(), checked) << comment;
    }
    void ExpectMandatory(const std::string& comment) const
    {
        EXPECT_EQ(Comment(), comment);
        EXPECT_TRUE(Shows(IDC_SECTIONS_MUST_INSTALL));
        EXPECT_FALSE(Shows(IDC_SECTIONS_INSTALL));
    }
};

SectionsPage WaitForSectionsPage(SetupRun& setup, HWND previous = nullptr)
{
    if (previous) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(previous); })) << "the earlier page stays";
    }
    HWND page = setup.WaitForDialogWith(IDC_SECTIONS_LIST);
    EXPECT_TRUE(page) << "no sections page";
    return {page, GetDlgItem(page, IDC_SECTIONS_LIST)};
}

std::string Bytes(size_t count, char fill)
{
    return std::string(count, fill);
}

}  // namespace

TEST(SectionsPage, ShowsEachSectionWithTheInstalledBytesOfItsFiles)
{
    Medium medium;
    medium.AddFile("core\\a.bin", Bytes(1000, 'a'));
    medium.AddFile("core\\b.bin", Bytes(234, 'b'));
    // Compressed by mscompress: counted with its expanded size.
    const std::string fixtures = testing_support::Env("TESSEL_BIN") + "\\fixtures\\";
    const std::string readme = testing_support::ReadFile(fixtures + "readme.txt");
    const std::string compressed = testing_support::ReadFile(fixtures + "readme.txt_");
    ASSERT_LT(compressed.size(), readme.size());
    medium.AddFile("docs\\readme.txt_", compressed);
    medium.AddFile("docs\\more.txt", Bytes(100, 'm'));
    medium.AddFile("docs\\other.txt", Bytes(7, 'o'));
    medium.AddFile("spread.1", Bytes(3000, '1'));
    medium.AddFile("spread.2", Bytes(2000, '2'));
    // Only this test joins a file of this name in the Windows TEMP directory.
    const std::string joined = "SectionsPageSpread.bin";
    medium.WriteScript(R"(
CreateSection("Core","1","0","Core files");
CreateSection("Docs","0","0","The manual");
CreateSection("Spread","0","0","One file on two disks");
CreateSection("Docs","0","0","Same name");
CreateSection("Empty","0","0","");
AddFile("[SP]\core\*.*","[DP]\","Core","0","1","0","0","0","0","");
AddFile("[SP]\docs\readme.txt_","[DP]\readme.txt","Docs","0","1","0","0","0","0","");
AddFile("[SP]\docs\other.txt","[DP]\","docs","0","1","0","0","0","0","");
AddFile("[SP]\spread.1","[DP]\SectionsPageSpread.bin","Spread","0","1","1","0","0","0","");
AddFile("[SP]\spread.2","[DP]\SectionsPageSpread.bin","Spread","0","2","1","1","0","0","");
AddFile("[SP]\docs\more.txt","[DP]\","Docs","0","1","0","0","0","0","");
ShowSections();
)");
    SetupRun setup(medium);
    const SectionsPage sections = WaitForSectionsPage(setup);
    const HWND list = sections.list;

    EXPECT_EQ(WindowText(sections.page), "Welcome to Tessel 1.0");
    EXPECT_EQ(ListColumnTitle(list, 0), "Section");
    EXPECT_EQ(ListColumnTitle(list, 1), "Size (Bytes)");
    EXPECT_EQ(ListColumnWidth(list, 0), 100);
    EXPECT_EQ(ListColumnWidth(list, 1), 100);
    ASSERT_EQ(ListItemCount(list), 5);
    const std::string docs = std::to_string(readme.size() + 100);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Core", "1234"}, {"Docs", docs}, {"Spread", "5000"}, {"Docs", docs}, {"Empty", "0"}};
    for (int item = 0; item < 5; ++item) {
        EXPECT_EQ(ListItemText(list, item, 0), rows[item].first) << item;
        EXPECT_EQ(ListItemText(list, item, 1), rows[item].second) << item;
    }
    // The mandatory section is chosen from the start and the first one described.
    EXPECT_EQ(HighlightedItems(list), Items{0});
    EXPECT_EQ(FocusedItem(list), 0);
    sections.ExpectMandatory("Core files");
    // Measuring the spread file joined its pieces and cleaned up after.
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_FALSE(testing_support::FileExists(std::string(windows) + "\\TEMP\\" + joined + ".ToInstall.TMP"));

    setup.Press(sections.page, IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(SectionsPage, ClicksKeysAndTheCheckboxChooseSectionsAndKeepMandatoryOnesChosen)
{
    Medium medium;
    medium.WriteScript("CreateSection(\"Core\",\"1\",\"0\",\"Core files\");\n"
                       "CreateSection(\"Docs\",\"0\",\"0\",\"The manual\");\n"
                       "CreateSection(\"Extras\",\"0\",\"0\",\"Samples\");\n"
                       "CreateSection(\"Base\",\"2\",\"0\",\"Always there\");\n"
                       "ShowSections();\n"
                       "ShowSections();\n");
    SetupRun setup(medium);
    const SectionsPage sections = WaitForSectionsPage(setup);
    const HWND list = sections.list;
    // Every mandatory section is chosen from the start, whatever its number.
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));

    // A click chooses an optional section; a second click leaves it out
    // again. The clicked section keeps the focus.
    ClickListItem(list, 1);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 3}));
    EXPECT_EQ(FocusedItem(list), 1);
    EXPECT_EQ(ListItemState(list, 1, LVIS_CUT), static_cast<UINT>(LVIS_CUT));
    sections.ExpectOptional("The manual", true);
    ClickListItem(list, 1);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    EXPECT_EQ(FocusedItem(list), 1);
    sections.ExpectOptional("The manual", false);

    // The checkbox acts on the focused section, the one described; a click
    // into empty space changes nothing.
    sections.ClickInstall();
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 3}));
    sections.ClickInstall();
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    ClickBelowListItems(list);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    sections.ExpectOptional("The manual", false);

    // Mandatory sections stay chosen under clicks and the space key.
    ClickListItem(list, 0);
    ClickListItem(list, 0);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    sections.ExpectMandatory("Core files");
    ClickListItem(list, 3);
    ClickListItem(list, 3);
    PressKey(list, VK_SPACE);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    sections.ExpectMandatory("Always there");

    // The arrows move the focus within the list and leave the highlights.
    PressKey(list, VK_DOWN);
    EXPECT_EQ(FocusedItem(list), 3);
    PressKey(list, VK_UP);
    PressKey(list, VK_UP);
    PressKey(list, VK_RIGHT);
    EXPECT_EQ(FocusedItem(list), 1);
    sections.ExpectOptional("The manual", false);
    PressKey(list, VK_UP);
    PressKey(list, VK_UP);
    PressKey(list, VK_LEFT);
    EXPECT_EQ(FocusedItem(list), 0);
    PressKey(list, VK_END);  // the list's own keys are swallowed
    PressKey(list, VK_NEXT);
    EXPECT_EQ(FocusedItem(list), 0);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));

    // Space toggles the focused optional section back and forth.
    PressKey(list, VK_DOWN);
    PressKey(list, VK_SPACE);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 3}));
    sections.ExpectOptional("The manual", true);
    PressKey(list, VK_SPACE);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 3}));
    EXPECT_EQ(FocusedItem(list), 1);
    sections.ExpectOptional("The manual", false);
    PressKey(list, VK_SPACE);

    // The checkbox toggles the focused optional section too.
    PressKey(list, VK_DOWN);
    sections.ExpectOptional("Samples", false);
    sections.ClickInstall();
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 2, 3}));
    sections.ClickInstall();
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 3}));
    EXPECT_EQ(FocusedItem(list), 2);
    sections.ClickInstall();

    // Shown again, the list shows the choices made before: both were chosen.
    setup.Press(sections.page, IDC_PAGE_NEXT);
    const SectionsPage again = WaitForSectionsPage(setup, sections.page);
    EXPECT_EQ(HighlightedItems(again.list), (Items{0, 1, 2, 3}));
    PressKey(again.list, VK_DOWN);
    again.ExpectOptional("The manual", true);
    PressKey(again.list, VK_DOWN);
    again.ExpectOptional("Samples", true);
    setup.Press(again.page, IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(SectionsPage, WithoutSectionsTheListIsEmptyAndKeysDoNothing)
{
    Medium medium;
    medium.WriteScript("ShowSections();\n");
    SetupRun setup(medium);
    const SectionsPage sections = WaitForSectionsPage(setup);
    EXPECT_EQ(ListItemCount(sections.list), 0);
    for (WPARAM key : {VK_DOWN, VK_UP, VK_SPACE})
        PressKey(sections.list, key);
    ClickBelowListItems(sections.list);
    sections.ClickInstall();
    EXPECT_EQ(ListItemCount(sections.list), 0);
    // The lower half as the template has it.
    EXPECT_EQ(sections.Comment(), "");
    EXPECT_TRUE(sections.Shows(IDC_SECTIONS_MUST_INSTALL));
    EXPECT_TRUE(sections.Shows(IDC_SECTIONS_INSTALL));
    setup.Press(sections.page, IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(SectionsPage, WhatIsHighlightedAfterAnyInputIsWhatTheCopyRunInstalls)
{
    InstallCase test("Sections");
    auto& [app, medium, root, leftovers] = test;
    const std::vector<std::string> names = {"Core", "Docs", "Extras", "Base"};
    std::string script = ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / "App\\"});
    for (size_t i = 0; i < names.size(); ++i) {
        medium.AddFile(names[i] + ".txt", names[i]);
        script += ScriptCall("CreateSection", {names[i], i == 0 ? "1" : i == 3 ? "2" : "0", "0", names[i]}) +
                  AddFileCall(medium / (names[i] + ".txt"), "[DP]\\", names[i]);
    }
    medium.WriteScript(script + ScriptCall("ShowSections") + ScriptCall("ShowSections") + ScriptCall("ShowCopy"));
    SetupRun setup(medium);
    const SectionsPage sections = WaitForSectionsPage(setup);
    const HWND list = sections.list;

    ClickListItem(list, 1);
    PressKey(list, VK_DOWN);
    PressKey(list, VK_SPACE);
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 2, 3}));
    // Right clicks and typed letters choose nothing and drop nothing.
    for (int item : {0, 1, 2})
        RightClickListItem(list, item);
    for (char letter : {'C', 'b', 'E', 'x'})
        SendAndWait(list, WM_CHAR, static_cast<WPARAM>(letter));
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 2, 3}));
    // Unticking Install section for a mandatory section leaves it chosen.
    PressKey(list, VK_UP);
    PressKey(list, VK_UP);
    ASSERT_EQ(FocusedItem(list), 0);
    sections.ClickInstall();
    sections.ClickInstall();
    EXPECT_EQ(HighlightedItems(list), (Items{0, 1, 2, 3}));
    ClickListItem(list, 1);  // Docs is left out
    EXPECT_EQ(HighlightedItems(list), (Items{0, 2, 3}));
    setup.Press(sections.page, IDC_PAGE_NEXT);

    // Shown again, the page highlights the choices made.
    const SectionsPage again = WaitForSectionsPage(setup, sections.page);
    EXPECT_EQ(HighlightedItems(again.list), (Items{0, 2, 3}));
    setup.Press(again.page, IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(testing_support::FileExists(root / "App\\" + names[i] + ".txt"), i != 1) << names[i];
}
