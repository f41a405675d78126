// A DLL that someone put beside setup.exe (in a download folder, on a
// medium) never runs: setup takes every DLL it uses from the system folder.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

// Checks a running process, measures the sections, installs a shared file
// and a compressed one with a shortcut.
TEST(PlantedDlls, NoneRunsDuringAnInstallation)
{
    InstallCase test("Planted");
    auto& [app, medium, dir, leftovers] = test;
    for (const std::string& name : PlantableDlls())
        CopyFixture("planted.dll", medium / (name + ".dll"));
    const std::string shared = UniqueShortName("TP", "DLL");
    leftovers.File(SystemDirectory() + "\\" + shared);
    CopyFixture("english_201.dll", medium / shared);
    CopyFixture("readme.txt_", medium / "README.TX_");
    medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", dir.path() + "\\"}) +
                       ScriptCall("SetVariable", {"PROGRAMGROUP", dir / "Group"}) +
                       ScriptCall("ForbidProcess", {"NotRunning-" + std::to_string(GetCurrentProcessId()) + ".exe"}) +
                       ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                       AddFileCall(medium / shared, "[DP]\\" + shared, "Main", true) +
                       AddFileCall(medium / "README.TX_", "[DP]\\Readme.txt", "Main", false, "Read me") +
                       ScriptCall("ShowSections") + ScriptCall("ShowCopy"));
    {
        SetupRun setup(medium, {.dllsFromBeside = PlantableDlls()});
        setup.WaitForPage(IDC_SECTIONS_LIST).Click(IDC_PAGE_NEXT);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }

    for (const std::string& name : PlantableDlls())
        EXPECT_FALSE(FileExists(medium / (name + ".dll.loaded"))) << name << ".dll ran";
    EXPECT_TRUE(ReadFile(SystemDirectory() + "\\" + shared) == ReadFile(FixturePath("english_201.dll")));
    EXPECT_TRUE(ReadFile(dir / "Readme.txt") == ReadFile(FixturePath("readme.txt")));
    EXPECT_EQ(ReadShortcut(dir / "Group\\Read me.lnk").target, dir / "Readme.txt");
}
