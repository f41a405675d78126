// Installed files keep the time of the author's staging files: tesselpack
// gives it to each file on the medium, compressed or not, and setup to the
// installed file. (The single-file package's index carries it too: see
// single_file_test.)
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

TEST(FileDates, FilesFromAFolderMediumKeepTheirStagingTimePlainAndCompressed)
{
    InstallCase test("File Dates");
    auto& [app, medium, root, leftovers] = test;
    TempDir staging("stage");
    CreateDirectoryA((staging / "Program").c_str(), nullptr);
    WriteFile(staging / "Program\\Readme.txt", std::string(4000, 'r'));
    WriteFile(staging / "Program\\Data.bin", "data");
    for (const char* name : {"Readme.txt", "Data.bin"})
        SetLastWriteTime(staging / ("Program\\" + std::string(name)), kStagingTime);
    WriteFile(staging / "SetupScript.INI",
              ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", root / "App\\"}) +
                  ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                  AddFileCall("[SP]\\Program\\Readme.txt", "[DP]\\", "Main") +
                  AddFileCall("[SP]\\Program\\Data.bin", "[DP]\\", "Main") +
                  AddFileCall("[SP]\\Unskein.exe", "[DP]\\", "Main") + ScriptCall("ShowCopy"));
    ASSERT_EQ(RunToEnd("\"" + Env("TESSEL_BIN") + "\\tesselpack.exe\" \"" + staging / "SetupScript.INI" +
                           "\" --from \"" + staging.path() + "\" --out \"" + medium.path() + "\" --compress *.txt",
                       "", 60000)
                  .exitCode,
              0u);
    ASSERT_TRUE(FileExists(medium / "Disk1\\Program\\Readme.tx_"));
    {
        SetupRun setup(medium);
        ASSERT_EQ(setup.WaitForExit(), 0);
    }
    for (const char* name : {"Readme.txt", "Data.bin"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LastWriteTime(root / ("App\\" + std::string(name))), kStagingTime);
    }
}
