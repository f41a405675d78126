// Installations that do not go through as planned, seen from outside: a
// quit at a disk prompt, a spread file that cannot be completed, a joined
// file left behind by an earlier setup, and a joined file that cannot be
// written.
#include <gtest/gtest.h>

#include <functional>

#include "common/handles.h"
#include "setup/ui/resources/resource_ids.h"

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// Where an earlier setup joined spread files, a name anyone could take first.
std::string OldJoinedFile(const std::string& name)
{
    return testing_support::WindowsDirectory() + "\\TEMP\\" + name + ".ToInstall.TMP";
}

// A name of this test process, since the joined files share the TEMP folder.
std::string SpreadName(const std::string& stem)
{
    return stem + " " + std::to_string(GetCurrentProcessId()) + ".dat";
}

std::string Start(const std::string& app, const std::string& installDir, const std::string& group)
{
    return ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", group}) + ScriptCall("CreateSection", {"Main", "1", "0", ""});
}

void ExpectNotInstalled(SetupRun& setup, const std::string& destination)
{
    setup.ExpectMessageBox(destination.substr(destination.rfind('\\') + 1),
                           "The file " + destination +
                               " has not been installed, because not all of its parts could be joined.",
                           IDOK);
}

}  // namespace

// First the second piece of a spread file is missing, then a later whole
// file: at either prompt Abort and Yes end the run at once, with the log
// and the entry complete, and Unskein removes what came before. So does
// the copy page's Cancel confirmed while a prompt waits.
TEST(InterruptedInstall, QuitAtAPieceOrAWholeFilePromptEndsTheRunCompletely)
{
    InstallCase test("Quit");
    auto& [app, medium, root, leftovers] = test;
    const std::string movie = SpreadName("Quit");
    const std::string piece2 = medium / "Disk2\\movie.pa2";
    const std::string late = medium / "Disk3\\late.txt";
    const std::string group = root / "Group";
    auto installOnce = [&](const std::string& installDir, const std::vector<std::string>& missing,
                           const std::function<void(SetupRun&)>& quit) {
        medium.AddFile("a.txt", "a");
        medium.AddFile("b.txt", "b");
        medium.AddFile("Disk1\\movie.pa1", "first, ");
        medium.AddFile("Disk2\\movie.pa2", "second");
        medium.AddFile("Disk3\\late.txt", "late");
        medium.WriteScript(Start(app, installDir, group) +
                           AddFileCall(UnskeinProgram(), "[DP]\\", "Main") +
                           AddFileCall(medium / "a.txt", "[DP]\\a.txt", "Main") +
                           PieceCall(medium / "Disk1\\movie.pa1", "[DP]\\" + movie, 1, false) +
                           PieceCall(piece2, "[DP]\\" + movie, 2, true) +
                           ScriptCall("AddFile", {late, "[DP]\\late.txt", "Main", "0", "3", "0", "0", "0", "0", ""}) +
                           AddFileCall(medium / "b.txt", "[DP]\\b.txt", "Main") + PauseCall() +
                           ScriptCall("ShowCopy"));
        SetupRun setup(medium);
        TakeDisksOutAtPause(setup, missing);
        quit(setup);
        EXPECT_EQ(setup.WaitForExit(), 0) << "ends within seconds";
        EXPECT_FALSE(FileExists(installDir + "late.txt"));
        EXPECT_FALSE(FileExists(installDir + "b.txt"));
        EXPECT_EQ(UninstallValue(app, "UninstallString"), "\"" + installDir + "Unskein.exe\"");
    };

    const std::string atPiece = root / "AtPiece\\";
    installOnce(atPiece, {piece2, late}, [&](SetupRun& setup) {
        setup.ExpectMessageBox(piece2, DiskPrompt(2, "").text, IDABORT);
        setup.AnswerQuitQuestion(IDYES);
        ExpectNotInstalled(setup, atPiece + movie);
    });
    EXPECT_EQ(ReadFile(atPiece + "Uninstall.log"),
              ExpectedLog({atPiece, "DIR", group, "DIR", ShortPathOf(atPiece + "Unskein.exe"), "NONSHARED",
                           ShortPathOf(atPiece + "a.txt"), "NONSHARED"},
                          app));
    EXPECT_FALSE(FileExists(atPiece + movie));
    RemoveWithUnskein(atPiece + "Unskein.exe");
    EXPECT_FALSE(FileExists(atPiece + "a.txt"));
    EXPECT_FALSE(DirectoryExists(group));

    const std::string atWholeFile = root / "AtWholeFile\\";
    installOnce(atWholeFile, {late}, [&](SetupRun& setup) {
        setup.ExpectMessageBox("late.txt", DiskPrompt(3, "").text, IDABORT);
        setup.AnswerQuitQuestion(IDYES);
    });
    EXPECT_EQ(ReadFile(atWholeFile + movie), "first, second");
    EXPECT_EQ(ReadFile(atWholeFile + "Uninstall.log"),
              ExpectedLog({atWholeFile, "DIR", group, "DIR", ShortPathOf(atWholeFile + "Unskein.exe"), "NONSHARED",
                           ShortPathOf(atWholeFile + "a.txt"), "NONSHARED", ShortPathOf(atWholeFile + movie),
                           "NONSHARED"},
                          app));
    RemoveWithUnskein(atWholeFile + "Unskein.exe");
    EXPECT_FALSE(FileExists(atWholeFile + movie));

    // The quit question of Cancel, over the disk prompt: the prompt then
    // ends unanswered, and the run with it.
    const std::string byCancel = root / "ByCancel\\";
    installOnce(byCancel, {late}, [&](SetupRun& setup) {
        const MessageBoxSeen prompt = setup.NextMessageBox();
        EXPECT_EQ(prompt.text, DiskPrompt(3, "").text);
        Page(setup, setup.WaitForDialogWith(IDC_COPY_SECTION_BAR)).Click(IDC_PAGE_CANCEL);
        HWND question = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND window : WindowsOf(setup.processId()))
                if (IsMessageBox(window) && WindowText(window) == "Quit setup")
                    question = window;
            return question != nullptr;
        }));
        setup.Press(question, IDYES);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt.window); }));
    });
    EXPECT_TRUE(FileExists(byCancel + movie));
    RemoveWithUnskein(byCancel + "Unskein.exe");
    EXPECT_FALSE(FileExists(byCancel + movie));
}

// A piece ignored gives its whole file up, and files in TEMP of the names
// an earlier setup joined in, put there by anyone, get into no installation.
TEST(InterruptedInstall, SpreadFileWithAPieceIgnoredIsNotInstalledAndPreparedJoinedFilesAreNotUsed)
{
    InstallCase test("Ignore");
    auto& [app, medium, root, leftovers] = test;
    const std::string movie = SpreadName("Ignored");
    const std::string intro = SpreadName("Intro");
    leftovers.File(OldJoinedFile(movie));
    leftovers.File(OldJoinedFile(intro));
    WriteFile(OldJoinedFile(movie), "stale movie, ");
    WriteFile(OldJoinedFile(intro), "planted intro, ");
    // Held as a program of another user would, to change it at the right moment.
    const OwnedHandle holder(CreateFileA(OldJoinedFile(intro).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsOpen());
    medium.AddFile("Disk1\\movie.pa1", "movie one, ");
    medium.AddFile("Disk2\\movie.pa2", "movie two, ");
    medium.AddFile("Disk3\\movie.pa3", "movie three");
    medium.AddFile("Disk1\\intro.pa1", "intro one, ");
    medium.AddFile("Disk2\\intro.pa2", "intro two");
    const std::string installDir = root / "App\\";
    const std::string group = root / "Group";
    medium.WriteScript(Start(app, installDir, group) +
                       PieceCall(medium / "Disk1\\movie.pa1", "[DP]\\" + movie, 1, false, "Movie") +
                       PieceCall(medium / "Disk2\\movie.pa2", "[DP]\\" + movie, 2, false, "Movie") +
                       PieceCall(medium / "Disk3\\movie.pa3", "[DP]\\" + movie, 3, true, "Movie") +
                       PieceCall(medium / "Disk1\\intro.pa1", "[DP]\\" + intro, 1, false) +
                       PieceCall(medium / "Disk2\\intro.pa2", "[DP]\\" + intro, 2, true) + PauseCall() +
                       ScriptCall("ShowCopy"));
    SetupRun setup(medium);
    TakeDisksOutAtPause(setup, {medium / "Disk2\\movie.pa2"});
    setup.ExpectMessageBox(medium / "Disk2\\movie.pa2", DiskPrompt(2, "").text, IDIGNORE);
    ExpectNotInstalled(setup, installDir + movie);
    EXPECT_EQ(setup.WaitForExit(), 0) << "no prompt for the given-up file's last piece";

    EXPECT_FALSE(FileExists(installDir + movie));
    EXPECT_FALSE(FileExists(group + "\\Movie.lnk"));
    EXPECT_EQ(ReadFile(installDir + intro), "intro one, intro two");
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"),
              ExpectedLog({installDir, "DIR", group, "DIR", ShortPathOf(installDir + intro), "NONSHARED"}, app));
    EXPECT_EQ(ReadFile(OldJoinedFile(movie)), "stale movie, ");
    EXPECT_EQ(ReadFile(OldJoinedFile(intro)), "planted intro, ");
}
