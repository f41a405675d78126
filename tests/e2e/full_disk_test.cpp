// Setup on a nearly full drive: the file too large for it is reported, the
// run ends, and no temporary file of the installation is left behind. The
// drive E: is a 1 MB tmpfs that tests/small-drive mounts for the test run.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

TEST(FullDisk, FileTooLargeForTheDriveLeavesNoTemporaryFile)
{
    ULARGE_INTEGER total = {};
    if (!GetDiskFreeSpaceExA("E:\\", nullptr, &total, nullptr) || total.QuadPart > 2 * 1024 * 1024)
        GTEST_SKIP() << "no small drive E:: tests/small-drive mounts one where it may (as root)";
    InstallCase test("Full Disk");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = "E:\\Full Disk " + std::to_string(GetCurrentProcessId());
    leftovers.Tree(installDir);
    medium.AddFile("small.txt", "small");
    medium.AddFile("big.dat", std::string(1536 * 1024, 'b'));
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir + "\\"}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / "small.txt", "[DP]\\small.txt", "Main") +
                       AddFileCall(medium / "big.dat", "[DP]\\big.dat", "Main") +
                       AddFileCall(medium / "small.txt", "[DP]\\after.txt", "Main") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        setup.ExpectMessageBox("big.dat", "The file cannot be saved, because there is insufficient harddisk space.",
                               IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    std::vector<std::string> left;
    for (const auto& [path, what] : SnapshotTree(installDir))
        left.push_back(path);
    EXPECT_EQ(left, (std::vector<std::string>{installDir + "\\Uninstall.log", installDir + "\\small.txt"}));
}
