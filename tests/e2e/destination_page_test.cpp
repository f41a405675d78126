// The destination page: the installation path, its free space, Choose, the
// question for a missing directory, and what ends up in DP.
#include <gtest/gtest.h>

#include <string>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;
using testing_support::DirectoryExists;

namespace {

const char kShowDp[] = "ShowMessage(\"[DP]\",\"DP\",\"\",\"NOW\")\n";

// A script for the application App that shows the page `times` times and
// DP after each.
std::string ShowingTheDestination(int times)
{
    std::string script = "SetAppName(\"App\")\n";
    for (int i = 0; i < times; ++i)
        script += std::string("ShowDest()\n") + kShowDp;
    return script;
}
const char kPathTooLong[] =
    "The installation path would be longer than 259 characters. Please choose a shorter path.";

// The number of a free space text such as "1048576 kb"; -1 when the text
// has another form.
long long Kilobytes(const std::string& text)
{
    const std::string unit = " kb";
    if (text.size() <= unit.size() || text.compare(text.size() - unit.size(), unit.size(), unit) != 0)
        return -1;
    const std::string digits = text.substr(0, text.size() - unit.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoll(digits);
}

long long FreeKilobytesOfDriveC()
{
    ULARGE_INTEGER available = {}, total = {}, free = {};
    GetDiskFreeSpaceExA("C:\\", &available, &total, &free);
    return static_cast<long long>(available.QuadPart / 1024);
}

}  // namespace

TEST(DestinationPage, ShowsThePathWithItsFreeSpaceAndStoresWhatIsTyped)
{
    Medium medium;
    medium.WriteScript(ShowingTheDestination(1));
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    EXPECT_EQ(page.Title(), "Installation Path");
    EXPECT_EQ(page.Text(IDC_DEST_PATH), "C:\\Program Files\\App\\");
    EXPECT_TRUE(page.IsEnabled(IDC_PAGE_NEXT));
    EXPECT_FALSE(page.IsChecked(IDC_DEST_ASK_CREATE));
    EXPECT_FALSE(page.IsVisible(IDC_PAGE_LAST));
    // Other programs write to the same drive meanwhile: allow for 1 GB.
    EXPECT_NEAR(Kilobytes(page.Text(IDC_DEST_FREE_SPACE)), FreeKilobytesOfDriveC(), 1048576.0)
        << page.Text(IDC_DEST_FREE_SPACE);

    page.Click(IDC_DEST_AUTOMATIC);
    page.Type(IDC_DEST_PATH, "C:");
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, false));
    EXPECT_EQ(page.Text(IDC_DEST_FREE_SPACE), "0 kb");
    page.Type(IDC_DEST_PATH, "C:\\");
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
    EXPECT_GT(Kilobytes(page.Text(IDC_DEST_FREE_SPACE)), 0);
    page.Type(IDC_DEST_PATH, "");
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, false));
    // A network path is measured at its first three characters: no drive.
    page.Type(IDC_DEST_PATH, "\\\\server\\share\\App");
    EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
    EXPECT_EQ(page.Text(IDC_DEST_FREE_SPACE), "0 kb");

    // Without the question checked a missing directory is taken as typed,
    // without a trailing backslash, and not created.
    const std::string typed = medium / "Not\\There";
    page.Type(IDC_DEST_PATH, typed);
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", typed, IDOK);
    EXPECT_FALSE(DirectoryExists(typed));
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(DestinationPage, AsksBeforeTakingAMissingDirectory)
{
    Medium medium;
    medium.WriteScript(ShowingTheDestination(2));
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    const std::string missing = medium / "Missing";
    page.SetChecked(IDC_DEST_ASK_CREATE, true);
    page.Type(IDC_DEST_PATH, missing);
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Directory does not exist", "Directory does not exist, should it be created?", IDNO);
    page.Settle();
    EXPECT_TRUE(page.IsOpen());
    EXPECT_EQ(page.Text(IDC_DEST_PATH), missing);

    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Directory does not exist", "Directory does not exist, should it be created?", IDYES);
    setup.ExpectMessageBox("DP", missing, IDOK);
    EXPECT_FALSE(DirectoryExists(missing));  // the installation creates it

    // Shown again, the page starts unchecked; an existing directory needs no question.
    ASSERT_TRUE(page.WaitUntilClosed());
    const Page again = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    EXPECT_EQ(again.Text(IDC_DEST_PATH), missing);
    EXPECT_FALSE(again.IsChecked(IDC_DEST_ASK_CREATE));
    again.SetChecked(IDC_DEST_ASK_CREATE, true);
    again.Type(IDC_DEST_PATH, medium.path());
    again.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", medium.path(), IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(DestinationPage, ChooseAppendsTheApplicationName)
{
    Medium medium;
    medium.WriteScript(ShowingTheDestination(2));
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_DEST_ASK_CREATE);

    page.Click(IDC_DEST_CHOOSE);
    FolderBrowser browser = setup.WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser.Title(), "Please choose the directory in which the software will be installed.");
    browser.Cancel();
    ASSERT_TRUE(browser.dialog().WaitUntilClosed());
    EXPECT_EQ(page.Text(IDC_DEST_PATH), "C:\\Program Files\\App\\");

    page.Click(IDC_DEST_CHOOSE);
    browser = setup.WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    browser.Select(medium.path());
    browser.Choose();
    const std::string chosen = medium.path() + "\\App\\";
    EXPECT_TRUE(WaitUntil([&] { return page.Text(IDC_DEST_PATH) == chosen; })) << page.Text(IDC_DEST_PATH);
    EXPECT_GT(Kilobytes(page.Text(IDC_DEST_FREE_SPACE)), 0);
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", chosen, IDOK);

    // The shell gives a drive root with its backslash, so DP gets two.
    ASSERT_TRUE(page.WaitUntilClosed());
    const Page again = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    EXPECT_EQ(again.Text(IDC_DEST_PATH), chosen);
    again.Click(IDC_DEST_CHOOSE);
    browser = setup.WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    browser.Select("C:\\");
    browser.Choose();
    EXPECT_TRUE(WaitUntil([&] { return again.Text(IDC_DEST_PATH) == "C:\\\\App\\"; })) << again.Text(IDC_DEST_PATH);
    again.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", "C:\\\\App\\", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

// The path itself must fit, and so must the deepest file under it.
TEST(DestinationPage, RefusesPathsTooLongForThemselvesOrTheirFiles)
{
    Medium medium;
    medium.AddFile("deep file.txt", "x");
    const std::string longName(240, 'n');
    medium.WriteScript("SetVariable(\"APPNAME\",\"" + longName + "\")\n" +
                       AddFileCall(medium / "deep file.txt", "[DP]\\sub\\", "Main") + "ShowDest()\n" + kShowDp);
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_DEST_ASK_CREATE);
    const std::string original = page.Text(IDC_DEST_PATH);

    // The chosen folder with the name would pass 259 characters.
    page.Click(IDC_DEST_CHOOSE);
    const FolderBrowser browser = setup.WaitForFolderBrowser();
    ASSERT_TRUE(browser);
    browser.Select(medium.path());
    browser.Choose();
    setup.ExpectMessageBox("Path too long", kPathTooLong, IDOK);
    page.Settle();
    EXPECT_EQ(page.Text(IDC_DEST_PATH), original);

    // A typed path is held to the same bound at Next.
    page.Type(IDC_DEST_PATH, "C:\\" + std::string(257, 'p'));
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Path too long", kPathTooLong, IDOK);
    page.Settle();
    // The file's folder and the installation's temporary copy beside it
    // must fit in 259 characters too.
    const std::string tooDeep = "C:\\" + std::string(239, 'p');
    page.Type(IDC_DEST_PATH, tooDeep);
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Path too long",
                           "The installation path leaves no room for the files of this setup: " + tooDeep +
                               "\\sub\\deep file.txt would be longer than Windows allows. Please choose a shorter path.",
                           IDOK);
    page.Settle();
    EXPECT_TRUE(page.IsOpen());
    const std::string fits = tooDeep.substr(0, tooDeep.size() - 1);
    page.Type(IDC_DEST_PATH, fits);
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("DP", fits, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(DestinationPage, PathsFromOutsideAreLiteralAndOnlyAFullPathIsTaken)
{
    InstallCase test("Literal");
    auto& [app, medium, root, leftovers] = test;
    // The medium lies in a folder whose name looks like a reference.
    const std::string setupFolder = medium / "Setup [v2]";
    medium.AddFile("Setup [v2]\\Data\\app.txt", "the program");
    medium.AddFile("Setup [v2]\\SetupScript.INI",
                   ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"v2", "wrong"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall("[SP]\\Data\\*.*", "[DP]\\", "Main") + ScriptCall("ShowDest") +
                       ScriptCall("ShowCopy"));
    ProgramRun setup(SetupProgram(), setupFolder);
    const Page page = setup.WaitForPage(IDC_DEST_ASK_CREATE);

    page.Type(IDC_DEST_PATH, "abc");
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Path not complete",
                           "The installation path must be a full path: a drive with its root folder, such as "
                           "C:\\Program Files\\App, or a network path, such as \\\\server\\share\\App. "
                           "Please enter a full path.",
                           IDOK);
    page.Settle();
    EXPECT_TRUE(page.IsOpen());

    const std::string typed = root / "Apps [old]\\";
    page.Type(IDC_DEST_PATH, typed);
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(testing_support::ReadFile(typed + "app.txt"), "the program");
}
