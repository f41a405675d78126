// The program group page: a new group under the Programs folder, an
// existing folder from the folder browser, or none; PROGRAMGROUP is shown
// by a message after each page.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

const char kBrowserTitle[] = "Please choose the directory in which the software will be installed.";
constexpr int kBrowserTitleId = 0x3742;  // the static text above the browser's tree

std::string ProgramsFolder()
{
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, TRUE));
    return path;
}

// A folder of this test in the Programs folder, removed afterwards.
class ExistingGroup {
public:
    ExistingGroup() : name_("Tessel group " + std::to_string(GetCurrentProcessId()))
    {
        CreateDirectoryA(path().c_str(), nullptr);
    }
    ~ExistingGroup() { RemoveDirectoryA(path().c_str()); }
    const std::string& name() const { return name_; }
    std::string path() const { return ProgramsFolder() + "\\" + name_; }

private:
    std::string name_;
};

std::string ScriptShowingTheGroupAfterPages(int pages)
{
    std::string script = "SetAppName(\"MyApp\");\n";
    for (int i = 0; i < pages; ++i)
        script += "ShowProgramGroup();\nShowMessage(\"[PROGRAMGROUP]\",\"Group\",\"\",\"NOW\");\n";
    return script;
}

struct GroupPage {
    SetupRun& setup;
    HWND page;

    HWND Control(int id) const { return GetDlgItem(page, id); }
    std::string Text(int id) const { return WindowText(Control(id)); }
    bool Checked(int id) const { return SendAndWait(Control(id), BM_GETCHECK) == BST_CHECKED; }
    void Type(int id, const std::string& text) const
    {
        SendAndWait(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // A click that opens no window of its own, handled before it returns.
    void Click(int id) const { SendAndWait(Control(id), BM_CLICK); }
    // A click that opens the folder browser.
    HWND ClickForBrowser(int id) const
    {
        PostMessageA(Control(id), BM_CLICK, 0, 0);
        return WaitForShellBrowser(setup);
    }
    // Next, then the message that shows PROGRAMGROUP.
    void NextShowsGroup(const std::string& group) const
    {
        setup.Press(page, IDC_PAGE_NEXT);
        setup.ExpectMessageBox("Group", group, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page); })) << "the page stays";
    }
};

GroupPage WaitForGroupPage(SetupRun& setup)
{
    HWND page = setup.WaitForDialogWith(IDC_GROUP_NEW);
    EXPECT_TRUE(page) << "no program group page";
    return {setup, page};
}

}  // namespace

TEST(ProgramGroupPage, NewGroupIsTheTypedNameInTheProgramsFolderUpTo259Characters)
{
    Medium medium;
    medium.WriteScript(ScriptShowingTheGroupAfterPages(3));
    const std::string programs = ProgramsFolder();
    SetupRun setup(medium);

    const GroupPage defaults = WaitForGroupPage(setup);
    EXPECT_EQ(WindowText(defaults.page), "Program group");
    EXPECT_TRUE(defaults.Checked(IDC_GROUP_NEW));
    EXPECT_FALSE(defaults.Checked(IDC_GROUP_EXISTING));
    EXPECT_FALSE(defaults.Checked(IDC_GROUP_NONE));
    EXPECT_EQ(defaults.Text(IDC_GROUP_NAME), "MyApp");
    EXPECT_EQ(defaults.Text(IDC_GROUP_FOLDER), "");
    defaults.NextShowsGroup(programs + "\\MyApp\\");

    // Shown again, the page offers the group as it stands now.
    const GroupPage empty = WaitForGroupPage(setup);
    EXPECT_EQ(empty.Text(IDC_GROUP_NAME), programs + "\\MyApp\\");
    empty.Type(IDC_GROUP_NAME, "");
    empty.NextShowsGroup(programs + "\\\\");

    // A name that makes the group's folder 260 characters long is refused,
    // and the page stays for a shorter one.
    const GroupPage longName = WaitForGroupPage(setup);
    const size_t longest = 259 - programs.size() - 2;
    longName.Type(IDC_GROUP_NAME, std::string(longest + 1, 'n'));
    setup.Press(longName.page, IDC_PAGE_NEXT);
    const MessageBoxSeen tooLong = setup.NextMessageBox();
    EXPECT_EQ(tooLong.caption, "Name too long");
    EXPECT_EQ(tooLong.text, "The name of the program group is too long: its folder would be longer than 259 "
                            "characters. Please enter a shorter name.");
    setup.Press(tooLong.window, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(tooLong.window); }));
    SendAndWait(longName.page, WM_NULL);
    EXPECT_TRUE(IsWindow(longName.page) && IsWindowVisible(longName.page));
    longName.Type(IDC_GROUP_NAME, std::string(longest, 'n'));
    longName.NextShowsGroup(programs + "\\" + std::string(longest, 'n') + "\\");
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(ProgramGroupPage, ExistingFolderComesFromTheBrowserAndStaysUntilANewGroupReplacesIt)
{
    const ExistingGroup existing;
    Medium medium;
    medium.WriteScript(ScriptShowingTheGroupAfterPages(4));
    const std::string programs = ProgramsFolder();
    SetupRun setup(medium);

    // "Use existing group" opens the browser on the Programs folder at once.
    const GroupPage chosen = WaitForGroupPage(setup);
    HWND browser = chosen.ClickForBrowser(IDC_GROUP_EXISTING);
    EXPECT_EQ(WindowText(GetDlgItem(browser, kBrowserTitleId)), kBrowserTitle);
    EXPECT_EQ(BrowserRootText(browser), "Programs");
    SelectBrowserFolder(browser, existing.name());
    CloseBrowser(browser, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return chosen.Text(IDC_GROUP_FOLDER) == existing.path(); }))
        << chosen.Text(IDC_GROUP_FOLDER);
    // Once a folder is chosen, choosing the option again opens no browser.
    chosen.Click(IDC_GROUP_NEW);
    chosen.Click(IDC_GROUP_EXISTING);
    EXPECT_TRUE(chosen.Checked(IDC_GROUP_EXISTING));
    chosen.Type(IDC_GROUP_NAME, "Ignored");
    chosen.NextShowsGroup(existing.path() + "\\");

    // The browser cancelled: the option stays checked with no folder, and
    // the group stays what it was.
    const GroupPage cancelled = WaitForGroupPage(setup);
    browser = cancelled.ClickForBrowser(IDC_GROUP_EXISTING);
    CloseBrowser(browser, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    EXPECT_TRUE(cancelled.Checked(IDC_GROUP_EXISTING));
    EXPECT_EQ(cancelled.Text(IDC_GROUP_FOLDER), "");
    cancelled.NextShowsGroup(existing.path() + "\\");

    // Browse with "Create new group" checked: Next puts the typed name in
    // place of the folder.
    const GroupPage browsed = WaitForGroupPage(setup);
    browser = browsed.ClickForBrowser(IDC_GROUP_BROWSE);
    SelectBrowserFolder(browser, existing.name());
    CloseBrowser(browser, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return browsed.Text(IDC_GROUP_FOLDER) == existing.path(); }));
    EXPECT_TRUE(browsed.Checked(IDC_GROUP_NEW));
    browsed.Type(IDC_GROUP_NAME, "Tools");
    browsed.NextShowsGroup(programs + "\\Tools\\");

    // No group: a folder chosen with Browse is stored at once, and Next
    // leaves it.
    const GroupPage none = WaitForGroupPage(setup);
    browser = none.ClickForBrowser(IDC_GROUP_BROWSE);
    SelectBrowserFolder(browser, existing.name());
    CloseBrowser(browser, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return none.Text(IDC_GROUP_FOLDER) == existing.path(); }));
    none.Click(IDC_GROUP_NONE);
    none.NextShowsGroup(existing.path() + "\\");
    EXPECT_EQ(setup.WaitForExit(), 0);
}
