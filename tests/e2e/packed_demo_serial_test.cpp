// The example product packed by tesselpack.exe, compressed and spread over
// disks, installed with setup.exe from that medium and removed again with
// Unskein.exe: every installed file is the author's file byte for byte, and
// the sections page counts the expanded sizes. Serial, since the demo has
// one name and one shared library in the system folder.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>

#include "examples/demo/tiles.h"
#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const std::string kApp = "Tessel Demo";

DWORD RunTesselpack(const std::string& arguments)
{
    return RunToEnd("\"" + Env("TESSEL_BIN") + "\\tesselpack.exe\" " + arguments, "", 120000).exitCode;
}

// Whether no other program holds the file open.
bool Unused(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

uint64_t SizeOf(const std::string& path)
{
    return ReadFile(path).size();
}

// `diskSize` as tesselpack takes it.
void PackInstallRemove(const std::string& diskSize, RunOptions options)
{
    Leftovers leftovers;
    leftovers.UninstallEntry(kApp);
    leftovers.Tree(ProgramsFolder() + "\\" + kApp);
    const std::string desktopIcon = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + kApp + ".lnk";
    leftovers.File(desktopIcon);
    leftovers.File(SystemDirectory() + "\\Tiles.dll");
    TempDir staging("stage"), root("install");
    const std::string bin = Env("TESSEL_BIN");
    CreateDirectoryA((staging / "Program").c_str(), nullptr);
    CreateDirectoryA((staging / "Shared").c_str(), nullptr);
    WriteFile(staging / "Program\\TesselDemo.exe", ReadFile(bin + "\\TesselDemo.exe"));
    WriteFile(staging / "Program\\Readme.txt", ReadFile(Env("TESSEL_SOURCE") + "\\examples\\demo\\Readme.txt"));
    WriteFile(staging / "Shared\\Tiles.dll", ReadFile(bin + "\\Tiles.dll"));
    WriteFile(staging / "Licence.txt", ReadFile(Env("TESSEL_SOURCE") + "\\examples\\demo\\Licence.txt"));

    Medium medium;
    ASSERT_EQ(RunTesselpack("\"" + Env("TESSEL_SOURCE") + "\\examples\\demo\\SetupScript.INI\" --from \"" +
                            staging.path() + "\" --out \"" + medium.path() + "\" --disk-size " + diskSize),
              0u);
    ASSERT_TRUE(FileExists(medium / "Disk1\\Program\\TesselDemo.ex_"));
    ASSERT_TRUE(FileExists(medium / "Disk1\\Licence.txt"));  // as it is, on the disk setup starts from

    const std::string installDir = root / "Tessel Demo\\";
    {
        SetupRun setup(medium, options);
        if (options.windows98)
            setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!",
                                   IDOK);
        setup.WaitForPage(IDC_WELCOME_TEXT).Click(IDC_PAGE_NEXT);
        const Page licence = setup.WaitForPage(IDC_LICENCE_ACCEPT);
        licence.Click(IDC_LICENCE_ACCEPT);
        ASSERT_TRUE(licence.WaitForEnabled(IDC_PAGE_NEXT, true));
        licence.Click(IDC_PAGE_NEXT);
        Page destination = setup.WaitForPage(IDC_DEST_ASK_CREATE);
        destination.Type(IDC_DEST_PATH, installDir);
        destination.Click(IDC_PAGE_NEXT);

        Page sections = setup.WaitForPage(IDC_SECTIONS_LIST);
        const HWND list = sections.Control(IDC_SECTIONS_LIST);
        const uint64_t program = SizeOf(staging / "Program\\TesselDemo.exe") + SizeOf(staging / "Shared\\Tiles.dll") +
                                 SizeOf(UnskeinProgram());
        EXPECT_EQ(ListItemText(list, 0, 1), std::to_string(program));
        EXPECT_EQ(ListItemText(list, 1, 1), std::to_string(SizeOf(staging / "Program\\Readme.txt")));
        EXPECT_EQ(ListItemText(list, 2, 1), "") << "a choice, chosen from the start";
        EXPECT_EQ(HighlightedItems(list), (std::vector<int>{0, 2}));
        ClickListItem(list, 1);  // the documentation too
        sections.SetChecked(IDC_SECTIONS_INSTALL, true);
        sections.Click(IDC_PAGE_NEXT);
        setup.WaitForPage(IDC_GROUP_NEW).Click(IDC_PAGE_NEXT);
        // Started, the program would hold its file against Unskein.
        const Page finish = setup.WaitForPage(IDC_FINISH_TEXT);
        finish.SetChecked(IDC_FINISH_FIRST_ACTION, false);
        EXPECT_FALSE(finish.IsChecked(IDC_FINISH_FIRST_ACTION + 1)) << "the readme";
        finish.Click(IDC_PAGE_NEXT);
        ASSERT_EQ(setup.WaitForExit(), 0);
    }
    EXPECT_TRUE(ReadFile(installDir + "TesselDemo.exe") == ReadFile(staging / "Program\\TesselDemo.exe"));
    EXPECT_TRUE(ReadFile(installDir + "Readme.txt") == ReadFile(staging / "Program\\Readme.txt"));
    EXPECT_TRUE(ReadFile(SystemDirectory() + "\\Tiles.dll") == ReadFile(staging / "Shared\\Tiles.dll"));
    EXPECT_EQ(ReadShortcut(desktopIcon).target, installDir + "TesselDemo.exe");

    // Wine's menu builder reads the targets of new shortcuts for their icons;
    // a file it holds could not be removed.
    EXPECT_TRUE(WaitUntil([&] { return Unused(installDir + "TesselDemo.exe") && Unused(installDir + "Readme.txt"); }));
    {
        std::unique_ptr<Windows98Program> windows98;
        if (options.windows98)
            windows98 = std::make_unique<Windows98Program>("Unskein.exe");
        RemoveWithUnskein(installDir + "Unskein.exe");
    }
    EXPECT_FALSE(FileExists(installDir + "TesselDemo.exe"));
    EXPECT_FALSE(FileExists(installDir + "Readme.txt"));
    EXPECT_FALSE(FileExists(desktopIcon));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, TILES_REGISTRY_KEY);
}

}  // namespace

TEST(PackedDemo, FloppyDisksInstallTheAuthorsFilesAndUninstall)
{
    PackInstallRemove("floppy", {});
}

TEST(PackedDemo, FloppyDisksInstallTheAuthorsFilesAndUninstallOnWindows98)
{
    PackInstallRemove("floppy", {.windows98 = true});
}

TEST(PackedDemo, CompressedFilesCutOverSmallDisksInstallWhole)
{
    // Room for 64 KB beside the programs on disk 1: the program and the
    // library are cut over several disks.
    PackInstallRemove(std::to_string(SizeOf(SetupProgram()) + SizeOf(UnskeinProgram()) + 65536), {});
}
