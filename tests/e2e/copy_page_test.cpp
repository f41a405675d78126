// The copy page seen from outside: a whole installation, its progress, its
// log and uninstall entry, an aborted run, a second copy page, a second
// installation into the same directory.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// What the copy page shows while a question holds the run.
struct CopyPageSeen {
    std::string section;
    std::string file;
    ProgressSeen sectionBar;
    ProgressSeen fileBar;
};

CopyPageSeen ReadCopyPage(HWND page)
{
    return {WindowText(GetDlgItem(page, IDC_COPY_SECTION)), WindowText(GetDlgItem(page, IDC_COPY_FILE)),
            ReadProgress(GetDlgItem(page, IDC_COPY_SECTION_BAR)), ReadProgress(GetDlgItem(page, IDC_COPY_FILE_BAR))};
}

}  // namespace

TEST(CopyPage, WholeInstallationWithProgressLogEntryAndShortcuts)
{
    InstallCase test("Whole");
    auto& [app, medium, root, leftovers] = test;
    const std::string group = ProgramsFolder() + "\\" + app;
    leftovers.Tree(group);
    const std::string library = UniqueShortName("TW", "DLL");
    leftovers.File(SystemDirectory() + "\\" + library);

    medium.AddFile("Long Program Name.exe", "the program");
    medium.AddFile("readme.txt", "read me");
    medium.AddFile("settings.ini", "new settings");
    medium.AddFile("extra.txt", "extra");
    medium.AddFile("Disk1\\movie.pa1", "first half, ");
    medium.AddFile("Disk2\\movie.pa2", "second half");
    // The joined file is named after the destination in the Windows TEMP
    // folder, which other tests share.
    const std::string movie = "Movie " + std::to_string(GetCurrentProcessId()) + ".dat";
    CopyFixture("register_ok.dll", medium / library);
    const std::string installDir = root / "new\\App\\";
    const std::vector<std::string> kept = {root / "old\\Kept One.ini", root / "old\\Kept Two.ini",
                                           root / "old\\Kept Three.ini"};
    const std::string untouched = root / "old\\Untouched.txt";
    CreateDirectoryA((root / "old").c_str(), nullptr);
    for (const std::string& path : kept)
        WriteFile(path, "old settings");
    WriteFile(untouched, "left alone");

    medium.WriteScript(
        ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
        ScriptCall("SetVariable", {"KEPT1", kept[0]}) + ScriptCall("SetVariable", {"KEPT2", kept[1]}) +
        ScriptCall("SetVariable", {"KEPT3", kept[2]}) +
        ScriptCall("CreateSection", {"Program", "1", "0", "The program."}) +
        ScriptCall("CreateSection", {"Extras", "0", "0", "Not chosen."}) +
        ScriptCall("CreateSection", {"Settings", "2", "0", "Mandatory written as 2."}) +
        AddFileCall(medium / "Long Program Name.exe", "[DP]\\", "Program", false, "Tessel Program") +
        AddFileCall(medium / "readme.txt", "[DP]\\Docs\\Readme.txt", "Program", false, "Readme") +
        AddFileCall(medium / library, "[SYSPATH]\\", "Program", true) +
        AddFileCall(UnskeinProgram(), "[DP]\\", "Program") +
        ScriptCall("AddFile", {medium / "Disk1\\movie.pa1", "[DP]\\" + movie, "Program", "0", "1", "1", "0", "0", "1",
                               "Movie"}) +
        ScriptCall("AddFile", {medium / "Disk2\\movie.pa2", "[DP]\\" + movie, "Program", "0", "2", "1", "1", "0", "1",
                               "Movie"}) +
        AddFileCall(medium / "extra.txt", "[DP]\\Extra.txt", "Extras", false, "Extra") +
        AddFileCall(medium / "extra.txt", untouched, "Extras") +
        AddFileCall(medium / "settings.ini", "[KEPT1]", "Settings") +
        AddFileCall(medium / "settings.ini", "[KEPT2]", "Settings") +
        AddFileCall(medium / "settings.ini", "[KEPT3]", "Settings") + ScriptCall("ShowCopy") +
        ScriptCall("ShowMessage", {"[PROGRAMGROUP]", "Group", "", "NOW"}));
    SetupRun setup(medium);

    // Each existing settings file holds the run on its question: the bars
    // stand at the file being installed, counted from 0.
    HWND question = nullptr;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        question = NextDialogWith(setup, IDC_OVERWRITE_NO, question);
        ASSERT_TRUE(question);
        EXPECT_EQ(WindowText(GetDlgItem(question, IDC_OVERWRITE_TARGET)), kept[i]);
        HWND page = setup.WaitForDialogWith(IDC_COPY_SECTION_BAR);
        ASSERT_TRUE(page);
        const CopyPageSeen seen = ReadCopyPage(page);
        EXPECT_EQ(seen.section, "Settings");
        // The destination has no backslash before expansion: it is shown whole.
        EXPECT_EQ(seen.file, "[KEPT" + std::to_string(i + 1) + "]");
        EXPECT_EQ(seen.sectionBar, (ProgressSeen{0, 1, 1})) << "two chosen sections, the second one";
        EXPECT_EQ(seen.fileBar, (ProgressSeen{0, 2, i}));
        setup.Press(question, IDC_OVERWRITE_YES);
    }
    // The group name became its folder in the Programs folder.
    setup.ExpectMessageBox("Group", group, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);

    const std::string program = installDir + "Long Program Name.exe";
    const std::string readme = installDir + "Docs\\Readme.txt";
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"),
              ExpectedLog({root / "new", "DIR",
                           installDir, "DIR",
                           group, "DIR",
                           ShortPathOf(program), "NONSHARED",
                           group + "\\Tessel Program.lnk", "NONSHARED",
                           installDir + "Docs", "DIR",
                           ShortPathOf(readme), "NONSHARED",
                           group + "\\Readme.lnk", "NONSHARED",
                           SystemDirectory() + "\\" + library, "SHARED", "AUTOREGSVR",
                           ShortPathOf(installDir + "Unskein.exe"), "NONSHARED",
                           ShortPathOf(installDir + movie), "NONSHARED",
                           group + "\\Movie.lnk", "NONSHARED",
                           ShortPathOf(kept[0]), "NONSHARED",
                           ShortPathOf(kept[1]), "NONSHARED",
                           ShortPathOf(kept[2]), "NONSHARED"},
                          app));
    EXPECT_EQ(UninstallValue(app, "DisplayName"), app);
    EXPECT_EQ(UninstallValue(app, "UninstallString"), "\"" + installDir + "Unskein.exe\"");
    EXPECT_EQ(UninstallValue(app, "InstallLocation"), installDir);
    std::size_t installedBytes = 0;
    for (const std::string& path : {program, readme, SystemDirectory() + "\\" + library, installDir + "Unskein.exe",
                                    installDir + movie, kept[0], kept[1], kept[2]})
        installedBytes += ReadFile(path).size();
    EXPECT_EQ(UninstallValue(app, "EstimatedSize"), std::to_string((installedBytes + 1023) / 1024));
    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[9];
    snprintf(date, sizeof date, "%04d%02d%02d", today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(UninstallValue(app, "InstallDate"), date);
    EXPECT_EQ(UninstallValue(app, "NoModify"), "1");
    EXPECT_EQ(UninstallValue(app, "NoRepair"), "1");
    EXPECT_EQ(UninstallValue(app, "DisplayIcon"), program) << "the first shortcut's program";

    EXPECT_EQ(ReadFile(program), "the program");
    EXPECT_EQ(ReadFile(readme), "read me");
    EXPECT_EQ(ReadFile(SystemDirectory() + "\\" + library), ReadFile(FixturePath("register_ok.dll")));
    EXPECT_EQ(ReadFile(installDir + "Unskein.exe"), ReadFile(UnskeinProgram()));
    // The spread file is joined, installed at its last piece with one
    // shortcut, and its joined file is gone.
    EXPECT_EQ(ReadFile(installDir + movie), "first half, second half");
    EXPECT_EQ(ReadShortcut(group + "\\Movie.lnk").target, installDir + movie);
    EXPECT_FALSE(FileExists(testing_support::WindowsDirectory() + "\\TEMP\\" + movie + ".ToInstall.TMP"));
    for (const std::string& path : kept)
        EXPECT_EQ(ReadFile(path), "new settings");

    const ShortcutSeen programLink = ReadShortcut(group + "\\Tessel Program.lnk");
    EXPECT_TRUE(programLink.loaded);
    EXPECT_EQ(programLink.target, program) << "the collapsed destination";
    EXPECT_EQ(programLink.description, "Tessel Program");
    const ShortcutSeen readmeLink = ReadShortcut(group + "\\Readme.lnk");
    EXPECT_EQ(readmeLink.target, readme);
    EXPECT_EQ(readmeLink.description, "Readme");

    // The section nobody chose touched nothing.
    EXPECT_FALSE(FileExists(installDir + "Extra.txt"));
    EXPECT_FALSE(FileExists(group + "\\Extra.lnk"));
    EXPECT_EQ(ReadFile(untouched), "left alone");
}

TEST(CopyPage, RunAbortedInItsThirdSectionStillCompletesTheLogAndTheEntry)
{
    InstallCase test("Aborted");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("a.txt", "a");
    medium.AddFile("b.txt", "b");
    medium.AddFile("held.txt", "new content");
    const std::string held = root / "Held.txt";
    WriteFile(held, "running");
    const std::string group = root / "Group";

    // An existing directory typed without its trailing backslash, and a
    // group given as a full path.
    medium.WriteScript(
        ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root.path()}) +
        ScriptCall("SetVariable", {"PROGRAMGROUP", group}) +
        ScriptCall("CreateSection", {"One", "1", "0", ""}) + ScriptCall("CreateSection", {"Two", "1", "0", ""}) +
        ScriptCall("CreateSection", {"Three", "1", "0", ""}) + ScriptCall("CreateSection", {"Four", "1", "0", ""}) +
        AddFileCall(medium / "a.txt", "[DP]\\a.txt", "One", false, "A") +
        AddFileCall(medium / "b.txt", "[DP]\\b.txt", "Two") +
        AddFileCall(medium / "held.txt", "[DP]\\Held.txt", "Three") +
        AddFileCall(medium / "a.txt", "[DP]\\c.txt", "Three") +
        AddFileCall(medium / "b.txt", "[DP]\\d.txt", "Four") + ScriptCall("ShowCopy"));

    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        SetupRun setup(medium);
        HWND question = NextDialogWith(setup, IDC_OVERWRITE_NO, nullptr);
        ASSERT_TRUE(question);
        setup.Press(question, IDC_OVERWRITE_YES);
        setup.ExpectMessageBox("held.txt", shown::kSharingViolation, IDOK);
        setup.ExpectMessageBox("held.txt", shown::kInUse, IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    CloseHandle(holder);

    EXPECT_EQ(ReadFile(root / "Uninstall.log"),
              ExpectedLog({group, "DIR",
                           ShortPathOf(root / "a.txt"), "NONSHARED",
                           group + "\\A.lnk", "NONSHARED",
                           ShortPathOf(root / "b.txt"), "NONSHARED"},
                          app));
    EXPECT_EQ(UninstallValue(app, "DisplayName"), app);
    EXPECT_EQ(UninstallValue(app, "UninstallString"), "\"" + root / "Unskein.exe\"") << "with the separator DP lacks";
    // The first shortcut leads to no program.
    EXPECT_EQ(UninstallValue(app, "DisplayIcon"), root / "Unskein.exe");
    EXPECT_EQ(ReadFile(held), "running");
    EXPECT_FALSE(FileExists(root / "c.txt"));
    EXPECT_FALSE(FileExists(root / "d.txt"));
}

TEST(CopyPage, SecondCopyPageInstallsNothingAndStaysUntilCancelled)
{
    InstallCase test("Twice");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("a.txt", "a");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / ""}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "a.txt", "[DP]\\a.txt", "Main") + ScriptCall("ShowCopy") +
                       ScriptCall("ShowCopy") + ScriptCall("ShowMessage", {"not reached", "After", "", "NOW"}));
    SetupRun setup(medium);

    const std::string log = root / "Uninstall.log";
    // The file's 8.3 path exists only once it is installed.
    auto expectedLog = [&] { return ExpectedLog({root / "Group", "DIR", ShortPathOf(root / "a.txt"), "NONSHARED"}, app); };
    HWND second = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        if (!FileExists(root / "a.txt") || ReadFile(log) != expectedLog())
            return false;
        HWND page = setup.WaitForDialogWith(IDC_COPY_SECTION_BAR, 0);
        if (page && WindowText(GetDlgItem(page, IDC_COPY_SECTION)) == "Static")
            second = page;
        return second != nullptr;
    })) << "the second copy page with its template's texts";
    EXPECT_EQ(WindowText(GetDlgItem(second, IDC_COPY_FILE)), "Static");
    const ProgressSeen untouchedBar{0, 100, 0};  // a progress bar's own defaults
    EXPECT_EQ(ReadProgress(GetDlgItem(second, IDC_COPY_SECTION_BAR)), untouchedBar);
    EXPECT_EQ(ReadProgress(GetDlgItem(second, IDC_COPY_FILE_BAR)), untouchedBar);

    Page page(setup, second);
    page.Click(IDC_PAGE_CANCEL);
    setup.AnswerQuitQuestion(IDNO);
    page.Settle();
    EXPECT_TRUE(page.IsOpen()) << "only a confirmed quit closes it";
    page.Click(IDC_PAGE_CANCEL);
    setup.AnswerQuitQuestion(IDYES);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(ReadFile(log), expectedLog());
}

TEST(CopyPage, InstallingAgainOverALogThatIsNoLogReplacesItAndRecordsNoFolderFoundThere)
{
    InstallCase test("Again");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App";
    const std::string group = root / "Group";
    medium.AddFile("a.txt", "a");
    // No section is chosen: the log still gets its frame, and the entry is registered.
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", group}) +
                       ScriptCall("CreateSection", {"Optional", "0", "0", ""}) +
                       AddFileCall(medium / "a.txt", "[DP]\\a.txt", "Optional", false, "A") +
                       ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadFile(installDir + "\\Uninstall.log"), ExpectedLog({installDir, "DIR", group, "DIR"}, app));
    EXPECT_EQ(UninstallValue(app, "UninstallString"), "\"" + installDir + "\\Unskein.exe\"");

    // A log that names no product carries nothing forward.
    WriteFile(installDir + "\\Uninstall.log", std::string(4096, 'x'));
    {
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    // The group folder found existing is not this run's to record.
    EXPECT_EQ(ReadFile(installDir + "\\Uninstall.log"), ExpectedLog({}, app));
    EXPECT_FALSE(FileExists(installDir + "\\a.txt"));
    EXPECT_EQ(UninstallValue(app, "DisplayName"), app);
}

TEST(CopyPage, OverlongOrEmptyApplicationNameIsReportedAndRegistersNothing)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Long" + std::string(256, 'n'), "IS LONGER THAN 255 CHARACTERS!"},
        {"", "IS EMPTY!"},
    };
    for (const auto& [name, reason] : cases) {
        InstallCase test(name);
        auto& [app, medium, root, leftovers] = test;
        const std::string appName = name.empty() ? "" : app;
        medium.WriteScript(ScriptCall("SetAppName", {appName}) + ScriptCall("SetVariable", {"DP", root / ""}) +
                           ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) + ScriptCall("ShowCopy"));
        SetupRun setup(medium);
        setup.ExpectMessageBox("UNEXPECTED ERROR",
                               "UNINSTALL WILL NOT BE REGISTERED, BECAUSE THE APPLICATION NAME " + reason, IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
        EXPECT_EQ(ReadFile(root / "Uninstall.log"), ExpectedLog({root / "Group", "DIR"}, appName));
        EXPECT_EQ(UninstallValue(appName, "DisplayName"), std::nullopt);
        EXPECT_EQ(UninstallValue(appName, "UninstallString"), std::nullopt);
    }
}

// A name with characters that folders cannot take names the entry as it
// is, and its folders without them. A folder that cannot be made (here: a
// file is in the way) stops its file, or the whole run when it is the
// installation folder.
TEST(CopyPage, FoldersAreMadeOnlyFromNamesWindowsTakes)
{
    InstallCase test("Slash");
    auto& [app, medium, root, leftovers] = test;
    const std::string name = "TCP/IP " + app;
    const std::string installDir = ProgramFilesFolder() + "\\TCPIP " + app + "\\";
    leftovers.UninstallEntry(name);
    leftovers.Tree(installDir);
    leftovers.Tree(ProgramsFolder() + "\\TCPIP " + app);
    medium.AddFile("a.txt", "a");
    medium.WriteScript(ScriptCall("SetAppName", {name}) + ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "a.txt", "[DP]\\", "Main", false, "A") +
                       AddFileCall(medium / "a.txt", "[DP]\\a.txt\\Sub\\", "Main") + ScriptCall("ShowCopy"));
    SetupRun setup(medium);
    setup.ExpectMessageBox("a.txt",
                           "Could not create the directory " + installDir + "a.txt\\Sub, setup cannot install the file.",
                           IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(ReadFile(installDir + "a.txt"), "a");
    EXPECT_TRUE(FileExists(ProgramsFolder() + "\\TCPIP " + app + "\\A.lnk"));
    EXPECT_EQ(UninstallValue(name, "DisplayName"), name);
    EXPECT_EQ(UninstallValue(name, "UninstallString"), "\"" + installDir + "Unskein.exe\"");

    WriteFile(root / "file", "in the way");
    const std::string unmade = root / "file\\App\\";
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", unmade}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "a.txt", "[DP]\\", "Main") + ScriptCall("ShowCopy") +
                       ScriptCall("ShowMessage", {"not reached", "", "", "NOW"}));
    SetupRun again(medium);
    again.ExpectMessageBox("UNEXPECTED ERROR",
                           "Could not create the installation directory " + unmade +
                               ", setup cannot install the files.",
                           IDOK);
    EXPECT_EQ(again.WaitForExit(), 0);
    EXPECT_EQ(UninstallValue(app, "DisplayName"), std::nullopt);
    EXPECT_EQ(SnapshotTree(root.path()).size(), 1u) << "nothing installed";
}

TEST(CopyPage, NoGroupChosenMeansNoGroupFolderAndNoShortcuts)
{
    InstallCase test("No Group");
    auto& [app, medium, root, leftovers] = test;
    leftovers.Tree(ProgramsFolder() + "\\" + app);
    medium.AddFile("program.exe", "the program");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / ""}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "program.exe", "[DP]\\program.exe", "Main", false, "Program") +
                       ScriptCall("ShowProgramGroup") + ScriptCall("ShowCopy") +
                       ScriptCall("ShowMessage", {"[PROGRAMGROUP]", "Group", "", "NOW"}));
    SetupRun setup(medium);
    Page page = setup.WaitForPage(IDC_GROUP_NEW);
    page.Click(IDC_GROUP_NONE);
    EXPECT_TRUE(WaitUntil([&] { return page.IsChecked(IDC_GROUP_NONE); }));
    page.Click(IDC_PAGE_NEXT);
    setup.ExpectMessageBox("Group", app, IDOK);  // as SetAppName left it
    EXPECT_EQ(setup.WaitForExit(), 0);

    EXPECT_EQ(ReadFile(root / "Uninstall.log"), ExpectedLog({ShortPathOf(root / "program.exe"), "NONSHARED"}, app));
    EXPECT_FALSE(DirectoryExists(ProgramsFolder() + "\\" + app));
}

TEST(CopyPage, ExistingGroupFolderIsNotRecordedAndOutlivesTheUninstall)
{
    InstallCase test("Existing Group");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\";
    const std::string group = root / "Group";
    ASSERT_TRUE(CreateDirectoryA(group.c_str(), nullptr));
    medium.AddFile("program.exe", "the program");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", group}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "program.exe", "[DP]\\program.exe", "Main", false, "Program") +
                       AddFileCall(UnskeinProgram(), "[DP]\\", "Main") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"),
              ExpectedLog({installDir, "DIR",
                           ShortPathOf(installDir + "program.exe"), "NONSHARED",
                           group + "\\Program.lnk", "NONSHARED",
                           ShortPathOf(installDir + "Unskein.exe"), "NONSHARED"},
                          app));
    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_FALSE(FileExists(group + "\\Program.lnk"));
    EXPECT_TRUE(DirectoryExists(group));
}
