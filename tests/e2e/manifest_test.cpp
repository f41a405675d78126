// What the shipped programs tell Windows Vista and later through their
// manifests, and that setup's pages then run with the version 6 controls.
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <string>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;
using testing_support::Env;

namespace {

std::string ManifestOf(const std::string& program)
{
    std::string text;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (const auto* data = static_cast<const char*>(LockResource(LoadResource(module, resource))))
        text.assign(data, SizeofResource(module, resource));
    if (module)
        FreeLibrary(module);
    return text;
}

// The file of the common controls that a running process has loaded, in
// lower case.
std::string CommonControlsFileOf(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return "";
    std::string path;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
        if (lstrcmpiA(module.szModule, "comctl32.dll") == 0)
            path = module.szExePath;
    CloseHandle(snapshot);
    CharLowerA(&path[0]);
    return path;
}

}  // namespace

TEST(Manifest, TheShippedProgramsAskForAdministratorRightsKnowWindows11AndTheNewControlsAndFollowTheScaling)
{
    for (const std::string& program : {SetupProgram(), UnskeinProgram(), Env("TESSEL_BIN") + "\\starter.exe"}) {
        SCOPED_TRACE(program);
        const std::string manifest = ManifestOf(program);
        EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
                  std::string::npos);
        EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
        EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
        // System-aware: Windows no longer stretches them blurred.
        EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    }
}

TEST(Manifest, SetupsPagesRunWithTheVersion6CommonControls)
{
    Medium medium;
    medium.WriteScript("ShowWelcome()\n");
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);
    const std::string controls = CommonControlsFileOf(setup.processId());
    // The version 6 assembly from the system's side-by-side store, not the
    // system folder's version 5.
    EXPECT_NE(controls.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos)
        << controls;
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
