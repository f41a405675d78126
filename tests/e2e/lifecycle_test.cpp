// An installation over the years, seen from outside: upgrades, the entry in
// the list of programs, shared files counted, a setup killed while it
// copies, an edited log that names another product's entry.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"
#include "tesselpack/text/szdd.h"

using namespace e2e;
using namespace testing_support;

namespace {

std::string Start(const std::string& app, const std::string& installDir, const std::string& group)
{
    return ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", group}) + ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
           AddFileCall(UnskeinProgram(), "[DP]\\", "Main");
}

void Install(const Medium& medium, bool overwrites = false)
{
    SetupRun setup(medium);
    if (overwrites)
        setup.Press(NextDialogWith(setup, IDC_OVERWRITE_NO, nullptr), IDC_OVERWRITE_ALL);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

}  // namespace

// Version 2 keeps what version 1 installed in its log, and a second product
// installed into the same folder keeps both in it: the folder's one
// Unskein.exe then removes all of it, and both entries.
TEST(Upgrade, CarriesTheFirstVersionsLogForwardAndAnotherProductsToo)
{
    InstallCase test("Upgrade");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\";
    const std::string group = root / "Group";
    medium.AddFile("a.txt", "a");
    medium.AddFile("b.txt", "b");
    medium.AddFile("c.txt", "c");
    medium.WriteScript(Start(app, installDir, group) + AddFileCall(medium / "a.txt", "[DP]\\a.txt", "Main") +
                       AddFileCall(medium / "b.txt", "[DP]\\docs\\b.txt", "Main", false, "B") +
                       ScriptCall("ShowCopy"));
    Install(medium);
    const std::vector<std::string> first = {installDir, "DIR", group, "DIR",
                                            ShortPathOf(installDir + "Unskein.exe"), "NONSHARED",
                                            ShortPathOf(installDir + "a.txt"), "NONSHARED",
                                            installDir + "docs", "DIR",
                                            ShortPathOf(installDir + "docs\\b.txt"), "NONSHARED",
                                            group + "\\B.lnk", "NONSHARED"};
    medium.WriteScript(Start(app, installDir, group) + AddFileCall(medium / "a.txt", "[DP]\\a.txt", "Main") +
                       AddFileCall(medium / "c.txt", "[DP]\\docs\\c.txt", "Main") + ScriptCall("ShowCopy"));
    Install(medium, true);
    std::vector<std::string> both = first;
    both.insert(both.end(), {ShortPathOf(installDir + "docs\\c.txt"), "NONSHARED"});
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"), ExpectedLog(both, app));

    InstallCase other("Other");
    other.medium.WriteScript(Start(other.app, installDir, group) + ScriptCall("ShowCopy"));
    Install(other.medium, true);
    const std::string log = ReadFile(installDir + "Uninstall.log");
    EXPECT_EQ(log.substr(0, log.find("[REGISTRY]")), ExpectedLog(both, app).substr(0, log.find("[REGISTRY]")));
    EXPECT_EQ(log.substr(log.find("[REGISTRY]")), Lines({"[REGISTRY]", UninstallKey(app), UninstallKey(other.app)}));

    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_FALSE(DirectoryExists(installDir + "docs"));
    EXPECT_FALSE(FileExists(installDir + "a.txt"));
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_FALSE(KeyExists(UninstallKey(app)));
    EXPECT_FALSE(KeyExists(UninstallKey(other.app)));
}

TEST(ListOfPrograms, ShowsPublisherVersionAndLinkEachOnlyWhenSet)
{
    InstallCase test("Values");
    auto& [app, medium, root, leftovers] = test;
    medium.WriteScript(Start(app, root / "App\\", root / "Group") + ScriptCall("SetDeveloperName", {"Tessel Works"}) +
                       ScriptCall("SetVariable", {"APPVERSION", "2.1"}) + ScriptCall("ShowCopy"));
    Install(medium);
    EXPECT_EQ(UninstallValue(app, "Publisher"), "Tessel Works");
    EXPECT_EQ(UninstallValue(app, "DisplayVersion"), "2.1");
    EXPECT_EQ(UninstallValue(app, "URLInfoAbout"), std::nullopt);
}

// Two products share two files, one of them there before without a count.
// Each product counts once, however often it is installed; Unskein takes
// its product's count back once, however often it runs, and leaves the files.
TEST(SharedFiles, EachProductCountsOnceAndUnskeinTakesItsCountBackOnce)
{
    InstallCase first("SharedA");
    InstallCase second("SharedB");
    const std::string system = SystemDirectory();
    const std::string fresh = system + "\\" + UniqueShortName("TC", "TXT");
    const std::string found = system + "\\" + UniqueShortName("TD", "TXT");
    first.leftovers.File(fresh);
    first.leftovers.File(found);
    WriteFile(found, "put there by someone who did not count");
    for (InstallCase* product : {&first, &second}) {
        std::string script = Start(product->app, product->root / "App\\", product->root / "Group");
        for (const std::string& path : {fresh, found}) {
            const std::string name = path.substr(path.rfind('\\') + 1);
            product->medium.AddFile(name, "shared");
            script += AddFileCall(product->medium / name, "[DP]\\" + name, "Main", true);
        }
        product->medium.WriteScript(script + ScriptCall("ShowCopy"));
    }
    using Counts = std::vector<std::optional<std::string>>;
    const auto counts = [&] { return Counts{SharedCount(fresh), SharedCount(found)}; };

    Install(first.medium);
    EXPECT_EQ(counts(), (Counts{"1", "2"}));
    Install(first.medium, true);
    EXPECT_EQ(counts(), (Counts{"1", "2"})) << "a reinstall counts no more";
    Install(second.medium);
    EXPECT_EQ(counts(), (Counts{"2", "3"}));
    RemoveWithUnskein(first.root / "App\\Unskein.exe");
    EXPECT_EQ(counts(), (Counts{"1", "2"}));
    RemoveWithUnskein(first.root / "App\\Unskein.exe");
    EXPECT_EQ(counts(), (Counts{"1", "2"})) << "a second run takes no other product's count";
    RemoveWithUnskein(second.root / "App\\Unskein.exe");
    EXPECT_EQ(counts(), (Counts{std::nullopt, "1"}));
    EXPECT_EQ(ReadFile(fresh), "shared");
    EXPECT_EQ(ReadFile(found), "shared");
}

namespace {

// The entry is registered and the log names it before the first file is
// copied; every file setup began to write, also one it expands, is in the
// log, so Unskein removes all of it, and finds the entry even when the log
// lost its registry part.
void KillWhileCopyingAndRemove(bool compressed)
{
    InstallCase test(compressed ? "KilledExpanding" : "Killed");
    auto& [app, medium, root, leftovers] = test;
    const std::string installDir = root / "App\\";
    const std::string group = root / "Group";
    const std::string big = installDir + "data\\big.bin";
    // Big enough that the copy is still going when the test sees the file.
    const std::string bigBytes(64 << 20, 'b');
    medium.AddFile("small.txt", "small");
    if (compressed) {
        const std::vector<uint8_t> packed =
            CompressSzdd(reinterpret_cast<const uint8_t*>(bigBytes.data()), bigBytes.size(), 'n');
        medium.AddFile("big.bin", std::string(packed.begin(), packed.end()));
    } else {
        medium.AddFile("big.bin", bigBytes);
    }
    medium.WriteScript(Start(app, installDir, group) +
                       AddFileCall(medium / "small.txt", "[DP]\\small.txt", "Main", false, "Small") +
                       AddFileCall(medium / "big.bin", "[DP]\\data\\big.bin", "Main") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium);
        WIN32_FILE_ATTRIBUTE_DATA seen = {};
        const DWORD start = GetTickCount();
        while (!(GetFileAttributesExA(big.c_str(), GetFileExInfoStandard, &seen) && seen.nFileSizeLow > 0) &&
               GetTickCount() - start < kWaitMs) {
        }
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, setup.processId());
        ASSERT_TRUE(process);
        TerminateProcess(process, 9);
        WaitForSingleObject(process, kWaitMs);
        CloseHandle(process);
    }
    ASSERT_TRUE(FileExists(big));
    ASSERT_LT(ReadFile(big).size(), bigBytes.size()) << "killed midway";
    EXPECT_EQ(UninstallValue(app, "UninstallString"), "\"" + installDir + "Unskein.exe\"");
    const std::string log = ReadFile(installDir + "Uninstall.log");
    EXPECT_EQ(log, ExpectedLog({installDir, "DIR", group, "DIR", ShortPathOf(installDir + "Unskein.exe"), "NONSHARED",
                                ShortPathOf(installDir + "small.txt"), "NONSHARED", group + "\\Small.lnk",
                                "NONSHARED", installDir + "data", "DIR", ShortPathOf(big), "NONSHARED"},
                               app));

    // As a power loss may leave it: the registry part never reached the disk.
    WriteFile(installDir + "Uninstall.log", log.substr(0, log.find("[REGISTRY]")));
    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_FALSE(DirectoryExists(installDir + "data"));
    EXPECT_FALSE(FileExists(installDir + "small.txt"));
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_EQ(UninstallValue(app, "DisplayName"), std::nullopt);
}

}  // namespace

TEST(KilledSetup, LeavesAnEntryAndALogThatUnskeinRemovesEverythingBy)
{
    KillWhileCopyingAndRemove(false);
    KillWhileCopyingAndRemove(true);
}

// A log that every user may edit names another product's entry: that entry
// stays, since it does not start this Unskein.exe, and this one's own goes.
TEST(EditedLog, NamingAnotherProductsEntryLeavesThatEntry)
{
    InstallCase test("Edited");
    auto& [app, medium, root, leftovers] = test;
    InstallCase victim("Victim");
    const std::string installDir = root / "App\\";
    medium.WriteScript(Start(app, installDir, root / "Group") + ScriptCall("ShowCopy"));
    Install(medium);
    victim.medium.WriteScript(Start(victim.app, victim.root / "App\\", victim.root / "Group") + ScriptCall("ShowCopy"));
    Install(victim.medium);

    const std::string log = ReadFile(installDir + "Uninstall.log");
    WriteFile(installDir + "Uninstall.log",
              log.substr(0, log.find("[REGISTRY]")) + Lines({"[REGISTRY]", UninstallKey(victim.app)}));
    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_TRUE(KeyExists(UninstallKey(victim.app)));
    EXPECT_EQ(UninstallValue(victim.app, "DisplayName"), victim.app);
    EXPECT_FALSE(KeyExists(UninstallKey(app)));
    EXPECT_TRUE(KeyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
}
