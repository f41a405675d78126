// Installing a product with setup.exe and removing it with the Unskein.exe
// it installed, on Windows NT and on Windows 98: afterwards the prefix holds
// only what is meant to stay. Serial, since it compares folders and
// registry keys that every program of the prefix shares.
#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const char kUninstallBranch[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct PrefixState {
    Snapshot installation;
    Snapshot programs;
    Snapshot system;
    Snapshot registry;
};

PrefixState Record(const std::string& root)
{
    return {SnapshotTree(root), SnapshotTree(ProgramsFolder()), SnapshotTree(SystemDirectory(), false),
            SnapshotRegistry(kUninstallBranch)};
}

void RoundTrip(RunOptions options)
{
    InstallCase test("Round Trip");
    auto& [app, medium, root, leftovers] = test;
    leftovers.Tree(ProgramsFolder() + "\\" + app);
    const std::string library = UniqueShortName("RT", "DLL");
    leftovers.File(SystemDirectory() + "\\" + library);
    medium.AddFile("Round Trip Program.exe", "the program");
    medium.AddFile("readme.txt", "read me");
    CopyFixture("register_ok.dll", medium / library);
    const std::string installDir = root / "Products\\Round Trip\\";

    // Every kind of record: new nested directories, the group, private files
    // by their 8.3 paths, a self-registering shared library (whose third
    // line the records after it must survive), shortcuts.
    medium.WriteScript(
        ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
        ScriptCall("CreateSection", {"Program", "1", "0", ""}) + ScriptCall("CreateSection", {"Help", "1", "0", ""}) +
        AddFileCall(medium / library, "[SYSPATH]\\", "Program", true) +
        AddFileCall(medium / "Round Trip Program.exe", "[DP]\\", "Program", false, "Round Trip") +
        AddFileCall(UnskeinProgram(), "[DP]\\", "Program") +
        AddFileCall(medium / "readme.txt", "[DP]\\Docs\\Manual\\Read Me.txt", "Help", false, "Read Me") +
        ScriptCall("ShowCopy"));

    // A program where an unquoted uninstall command would be run instead:
    // "...\Products\Round Trip\Unskein.exe" is first tried as "...\Products\Round.exe".
    CreateDirectoryA((root / "Products").c_str(), nullptr);
    CopyFixture("lingering.exe", root / "Products\\Round.exe");

    const PrefixState before = Record(root.path());
    {
        SetupRun setup(medium, options);
        if (options.windows98)
            setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!",
                                   IDOK);
        ASSERT_EQ(setup.WaitForExit(), 0);
    }
    ASSERT_TRUE(FileExists(ProgramsFolder() + "\\" + app + "\\Read Me.lnk"));
    ASSERT_TRUE(FileExists(installDir + "Docs\\Manual\\Read Me.txt"));
    {
        std::unique_ptr<Windows98Program> windows98;
        if (options.windows98)
            windows98 = std::make_unique<Windows98Program>("Unskein.exe");
        // Started as the list of programs starts it: Wine's uninstaller runs the entry's command.
        ProgramRun uninstaller(SystemDirectory() + "\\uninstaller.exe", Env("TESSEL_BIN"), "--remove \"" + app + "\"");
        ExpectRemoved(uninstaller);
    }
    EXPECT_FALSE(FileExists(root / "Products\\Round.exe.running"));
    const PrefixState after = Record(root.path());

    const std::string installDirPath = installDir.substr(0, installDir.size() - 1);
    EXPECT_EQ(Differences(before.installation, after.installation),
              (std::vector<std::string>{"+ " + installDirPath,
                                        "+ " + installDir + "Uninstall.log", "+ " + installDir + "Unskein.exe"}));
    EXPECT_EQ(Differences(before.system, after.system),
              std::vector<std::string>{"+ " + SystemDirectory() + "\\" + library});
    EXPECT_EQ(Differences(before.programs, after.programs), std::vector<std::string>{});
    EXPECT_EQ(Differences(before.registry, after.registry), std::vector<std::string>{});
}

}  // namespace

TEST(RoundTrip, UninstallLeavesOnlySharedFilesTheUninstallerAndItsLog)
{
    RoundTrip({});
}

TEST(RoundTrip, UninstallLeavesOnlySharedFilesTheUninstallerAndItsLogOnWindows98)
{
    RoundTrip({.windows98 = true});
}
