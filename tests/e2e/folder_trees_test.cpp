// AddFolder: a tree of three levels with empty folders, packed by
// tesselpack.exe, installs whole from a folder medium (also with setup
// posing as Windows 98) and from a single-file package, and Unskein
// removes all of it.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const char* const kFiles[] = {"Top.txt", "Maps\\World.map", "Maps\\Deep\\Core.map"};
const char* const kEmptyFolders[] = {"Empty", "Maps\\Void"};

// Packs the staging tree as a folder medium or a single-file package,
// installs it from there and removes it again.
void InstallTreeAndRemove(bool singleFile, RunOptions options = {})
{
    InstallCase test("Tree");
    auto& [app, medium, root, leftovers] = test;
    TempDir staging("stage"), download("download");
    for (const char* folder : {"Data", "Data\\Maps", "Data\\Maps\\Deep", "Data\\Empty", "Data\\Maps\\Void"})
        CreateDirectoryA((staging / folder).c_str(), nullptr);
    for (const char* file : kFiles)
        WriteFile(staging / ("Data\\" + std::string(file)), file);
    const std::string installed = root / "App\\Data\\";
    WriteFile(staging / "SetupScript.INI",
              ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / "App\\"}) +
                  ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                  AddFileCall("[SP]\\Unskein.exe", "[DP]\\", "Main") +
                  ScriptCall("AddFolder", {"[SP]\\Data", "[DP]\\Data", "Main", "*.*"}) + ScriptCall("ShowCopy"));
    const std::string program = download / "TreeSetup.exe";
    const std::string output = singleFile ? "--single-file \"" + program + "\"" : "--out \"" + medium.path() + "\"";
    ASSERT_EQ(RunToEnd("\"" + Env("TESSEL_BIN") + "\\tesselpack.exe\" \"" + staging / "SetupScript.INI" +
                           "\" --from \"" + staging.path() + "\" " + output,
                       "", 60000)
                  .exitCode,
              0u);
    if (singleFile) {
        ASSERT_EQ(RunToEnd("\"" + program + "\"", download.path(), 60000).exitCode, 0u);
    } else {
        SetupRun setup(medium, options);
        setup.AnswerWininitMissing();
        ASSERT_EQ(setup.WaitForExit(), 0);
    }
    for (const char* file : kFiles)
        EXPECT_EQ(ReadFile(installed + file), file);
    for (const char* folder : kEmptyFolders)
        EXPECT_TRUE(DirectoryExists(installed + folder)) << folder;

    RemoveWithUnskein(root / "App\\Unskein.exe");
    EXPECT_FALSE(DirectoryExists(installed));
}

}  // namespace

TEST(AddFolder, TreeInstallsWholeFromAFolderMediumAndUnskeinRemovesIt)
{
    InstallTreeAndRemove(false);
}

TEST(AddFolder, TreeInstallsWholeFromAFolderMediumOnWindows98)
{
    InstallTreeAndRemove(false, {.windows98 = true});
}

TEST(AddFolder, TreeInstallsWholeFromASingleFilePackageAndUnskeinRemovesIt)
{
    InstallTreeAndRemove(true);
}
