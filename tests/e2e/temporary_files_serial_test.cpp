// What setup leaves in the Windows TEMP folder: nothing, also when a piece
// of a spread file is missing. Serial, since other setups of the test run
// use the TEMP folder too.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

// The sections page measures without asking or writing anything; the copy
// run asks for the missing piece, and at the end no file of its own is left,
// not even the joined file of a spread file that never got its last piece.
TEST(TemporaryFilesSerial, MeasuringWritesNothingAndSetupLeavesNoTemporaryFile)
{
    InstallCase test("Temporary");
    auto& [app, medium, root, leftovers] = test;
    medium.AddFile("movie.pa1", "12345");
    medium.AddFile("movie.pa2", "678");
    medium.AddFile("endless.pa1", "no last piece");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / "App\\"}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       PieceCall(medium / "endless.pa1", "[DP]\\endless.dat", 1, false) +
                       PieceCall(medium / "movie.pa1", "[DP]\\movie.dat", 1, false) +
                       PieceCall(medium / "movie.pa2", "[DP]\\movie.dat", 2, true) + PauseCall() +
                       ScriptCall("ShowSections") + ScriptCall("ShowCopy"));
    const std::string temp = WindowsDirectory() + "\\TEMP";
    SetupRun setup(medium);
    TakeDisksOutAtPause(setup, {medium / "movie.pa2"});
    const Snapshot before = SnapshotTree(temp);
    const HWND page = setup.WaitForDialogWith(IDC_SECTIONS_LIST);
    Page(setup, page).Settle();
    EXPECT_FALSE(setup.HasOpenMessageBox());
    EXPECT_EQ(ListItemText(GetDlgItem(page, IDC_SECTIONS_LIST), 0, 1), "18") << "the pieces at hand";
    EXPECT_EQ(Differences(before, SnapshotTree(temp)), std::vector<std::string>{});

    setup.Press(page, IDC_PAGE_NEXT);
    setup.ExpectMessageBox(medium / "movie.pa2", DiskPrompt(2, "").text, IDIGNORE);
    setup.ExpectMessageBox("movie.dat",
                           "The file " + root / "App\\movie.dat" +
                               " has not been installed, because not all of its parts could be joined.",
                           IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
    EXPECT_EQ(Differences(before, SnapshotTree(temp)), std::vector<std::string>{});
}
