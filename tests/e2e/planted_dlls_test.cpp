// A DLL that someone put beside setup.exe (in a download folder, on a
// medium) never runs: setup takes every DLL it uses from the system folder.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The DLLs that setup and, on its behalf, the shell, COM and the visual
// styles load during an installation, and that not every Windows takes
// from its system folder whatever the search order. Two of them cannot be
// planted under Wine: version.dll, which Wine's own user32 imports, so Wine
// loads it at the start of every program (the import test keeps it out of
// setup's imports), and msimg32.dll, a delayed import of the visual styles
// that Wine resolves without the search restriction Windows applies.
const char* const kPlantedNames[] = {"comctl32", "setupapi", "psapi",         "vdmdbg", "uxtheme",
                                     "propsys",  "userenv",  "windowscodecs", "dwmapi", "oleacc"};

}  // namespace

// Checks a running process, measures the sections, installs a shared file
// and a compressed one with a shortcut.
TEST(PlantedDlls, NoneRunsDuringAnInstallation)
{
    InstallCase test("Planted");
    auto& [app, medium, dir, leftovers] = test;
    for (const char* name : kPlantedNames)
        CopyFixture("planted.dll", medium / (std::string(name) + ".dll"));
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
        SetupRun setup(medium, {.dllsFromBeside = {std::begin(kPlantedNames), std::end(kPlantedNames)}});
        setup.WaitForPage(IDC_SECTIONS_LIST).Click(IDC_PAGE_NEXT);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }

    for (const char* name : kPlantedNames)
        EXPECT_FALSE(FileExists(medium / (std::string(name) + ".dll.loaded"))) << name << ".dll ran";
    EXPECT_TRUE(ReadFile(SystemDirectory() + "\\" + shared) == ReadFile(FixturePath("english_201.dll")));
    EXPECT_TRUE(ReadFile(dir / "Readme.txt") == ReadFile(FixturePath("readme.txt")));
    EXPECT_EQ(ReadShortcut(dir / "Group\\Read me.lnk").target, dir / "Readme.txt");
}
