// The finish page as a person meets it: what it says, the actions it
// offers and what Finish starts; after a stopped run, that it was stopped.
#include <gtest/gtest.h>

#include "common/handles.h"
#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The check boxes of the page's actions, in order.
std::vector<HWND> ActionBoxes(const Page& page)
{
    std::vector<HWND> boxes;
    while (HWND box = GetDlgItem(page.window(), IDC_FINISH_FIRST_ACTION + static_cast<int>(boxes.size())))
        boxes.push_back(box);
    return boxes;
}

// ".tslmark" files open with `program`, which gets the file's path.
class MarkFileType {
public:
    explicit MarkFileType(const std::string& program)
    {
        SetDefault(".tslmark", "Tessel.MarkFile");
        SetDefault("Tessel.MarkFile\\shell\\open\\command", "\"" + program + "\" \"%1\"");
    }
    ~MarkFileType()
    {
        for (const char* key : {"Tessel.MarkFile\\shell\\open\\command", "Tessel.MarkFile\\shell\\open",
                                "Tessel.MarkFile\\shell", "Tessel.MarkFile", ".tslmark"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
    MarkFileType(const MarkFileType&) = delete;
    MarkFileType& operator=(const MarkFileType&) = delete;

private:
    static void SetDefault(const std::string& keyPath, const std::string& value)
    {
        RegistryKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key.out(), nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
};

std::string Start(const std::string& app, const std::string& installDir)
{
    return ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", ""}) + ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
           ScriptCall("CreateSection", {"Extras", "0", "0", ""}) + AddFileCall(UnskeinProgram(), "[DP]\\", "Main");
}

}  // namespace

// Checked actions start in order on Finish, each as it should: the program
// in its own folder with its arguments, the note with the program of its
// type. Unchecked, left-out and missing ones start nothing; nothing after
// ShowFinish is carried out.
TEST(FinishPage, StartsTheCheckedActionsOnFinishAndOffersOnlyWhatIsThere)
{
    InstallCase test("Finish");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\";
    const std::string marker = installDir + "marker.exe";
    const MarkFileType noteType(marker);
    medium.AddFile("note.tslmark", "a note");
    medium.WriteScript(
        Start(app, installDir) + AddFileCall(FixturePath("marker.exe"), "[DP]\\", "Main") +
        AddFileCall(medium / "note.tslmark", "[DP]\\", "Main") +
        AddFileCall(FixturePath("marker.exe"), "[DP]\\extra.exe", "Extras") +
        ScriptCall("AddFinishAction", {"RUN", "[DP]\\marker.exe", "run [APPNAME]", "&Start [APPNAME]", "1"}) +
        ScriptCall("AddFinishAction", {"OPEN", "[DP]\\note.tslmark", "", "Read the note", "1"}) +
        ScriptCall("AddFinishAction", {"RUN", "[DP]\\marker.exe", "unchecked", "Not now", "0"}) +
        ScriptCall("AddFinishAction", {"RUN", "[DP]\\extra.exe", "extra", "Extras", "1"}) +
        ScriptCall("AddFinishAction", {"RUN", "[DP]\\missing.exe", "missing", "Missing", "1"}) +
        ScriptCall("ShowCopy") + ScriptCall("ShowFinish") + ScriptCall("ShowMessage", {"After", "After", "", "NOW"}));
    SetupRun setup(medium);
    const Page finish = setup.WaitForPage(IDC_FINISH_TEXT);
    EXPECT_EQ(finish.Title(), "Setup complete");
    EXPECT_EQ(finish.Text(IDC_FINISH_TEXT), app + " is now installed on your computer.\n\nClick Finish to close setup.");
    EXPECT_EQ(finish.Text(IDC_PAGE_NEXT), "Finish");
    EXPECT_EQ(GetDlgItem(finish.window(), IDC_PAGE_CANCEL), nullptr);
    const std::vector<HWND> boxes = ActionBoxes(finish);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(WindowText(boxes[0]), "&Start " + app);
    EXPECT_EQ(WindowText(boxes[1]), "Read the note");
    EXPECT_EQ(WindowText(boxes[2]), "Not now");
    EXPECT_EQ((std::vector<int>{CheckState(boxes[0]), CheckState(boxes[1]), CheckState(boxes[2])}),
              (std::vector<int>{BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
    EXPECT_TRUE(Style(finish.Control(IDC_PAGE_NEXT)) & BS_DEFPUSHBUTTON) << "Enter finishes";

    finish.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
    const std::string run = installDir + "run.mark", opened = installDir + "note.tslmark.mark";
    EXPECT_TRUE(WaitUntil([&] { return FileExists(run) && FileExists(opened); }));
    EXPECT_EQ(ReadFile(run), "run " + app + "\n" + root / "App");
    EXPECT_EQ(ReadFile(opened).substr(0, ReadFile(opened).find('\n')), installDir + "note.tslmark");
    for (const char* none : {"unchecked.mark", "extra.mark", "missing.mark"})
        EXPECT_FALSE(FileExists(installDir + none)) << none;
}

// The installation folder cannot be made: the page says the run stopped
// and offers none of the actions, though their targets exist.
TEST(FinishPage, AfterAStoppedRunSaysSoAndOffersNoAction)
{
    InstallCase test("Stopped");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("blocker", "a file where the folder should be");
    const std::string installDir = medium / "blocker\\App\\";
    medium.WriteScript(Start(app, installDir) +
                       ScriptCall("AddFinishAction", {"OPEN", medium / "blocker", "", "Open", "1"}) +
                       ScriptCall("ShowCopy") + ScriptCall("ShowFinish"));
    SetupRun setup(medium);
    setup.ExpectMessageBox("UNEXPECTED ERROR",
                           "Could not create the installation directory " + installDir +
                               ", setup cannot install the files.",
                           IDOK);
    const Page finish = setup.WaitForPage(IDC_FINISH_TEXT);
    EXPECT_EQ(finish.Title(), "Setup stopped");
    EXPECT_EQ(finish.Text(IDC_FINISH_TEXT),
              "The installation of " + app + " was stopped before it was complete.\n\nClick Finish to close setup.");
    EXPECT_TRUE(ActionBoxes(finish).empty());
    finish.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
