// Nothing left behind: Unskein removes itself, the log and the emptied
// folders through a copy of itself in TEMP, and the settings the program
// made, after its question. Serial: the Windows 98 run poses every
// Unskein.exe of the prefix as Windows 98 and edits Wininit.ini.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

// A product installed into <root>\Maker\Product, both folders made by
// setup, with a file in a subfolder; `more` adds commands before ShowCopy.
struct CleanProduct : InstallCase {
    explicit CleanProduct(const std::string& name, const std::string& more) : InstallCase(name)
    {
        medium.AddFile("a.txt", "a");
        medium.WriteScript(ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", folder() + "\\"}) +
                           ScriptCall("SetVariable", {"PROGRAMGROUP", root / "Group"}) +
                           ScriptCall("CreateSection", {"Main", "1", "0", ""}) +
                           AddFileCall(UnskeinProgram(), "[DP]\\", "Main") +
                           AddFileCall(medium / "a.txt", "[DP]\\data\\a.txt", "Main") + more + ScriptCall("ShowCopy"));
        SetupRun setup(medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    std::string maker() const { return root / "Maker"; }
    std::string folder() const { return root / "Maker\\Product"; }
    std::string unskein() const { return folder() + "\\Unskein.exe"; }
};

std::string TemporaryFolder()
{
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

std::string AppDataFolder()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE);
    return path;
}

void RemoveCleanly(const RunOptions& options)
{
    CleanProduct product("Clean", ScriptCall("SetCleanUninstall", {"1"}));
    const std::string wininit = WindowsDirectory() + "\\Wininit.ini";
    const std::string wininitBefore = ReadFile(wininit);
    const std::string settings = SetProgramSettings("Unskein.exe", options);
    std::string copy;
    {
        UnskeinRun run(product.unskein());
        copy = TemporaryFolder() + "Unskein-" + std::to_string(run.processId()) + ".exe";
        ExpectRemoved(run);
    }
    RemoveProgramSettings(settings);
    EXPECT_TRUE(WaitFor([&] { return !DirectoryExists(product.maker()); })) << "the folder and the parent setup made";
    EXPECT_TRUE(DirectoryExists(product.root.path()));
    if (options.windows98) {
        const std::string wininitAfter = ReadFile(wininit);
        WriteFile(wininit, wininitBefore);
        EXPECT_NE(wininitAfter.find("NUL=" + ShortPathOf(copy) + "\r\n"), std::string::npos) << wininitAfter;
        EXPECT_EQ(wininitAfter.find(wininitBefore), 0u) << "the lines there before stay";
        EXPECT_TRUE(WaitFor([&] { return DeleteFileA(copy.c_str()) != FALSE; })) << "waits for the restart";
    } else {
        EXPECT_TRUE(WaitFor([&] { return !FileExists(copy); })) << "deleted as the copy ended";
        ForgetPendingRename(copy);  // in case the system held it still
    }
}

}  // namespace

TEST(CleanUninstall, RemovesItselfTheLogAndTheFoldersSetupMade)
{
    RemoveCleanly({});
}

TEST(CleanUninstall, RemovesItselfTheLogAndTheFoldersSetupMadeOnWindows98)
{
    RemoveCleanly({true});
}

TEST(CleanUninstall, AFileOfTheUsersKeepsItsFolders)
{
    CleanProduct product("Kept", ScriptCall("SetCleanUninstall", {"1"}));
    const std::string mine = product.folder() + "\\data\\mine.txt";
    WriteFile(mine, "the user's");
    RemoveWithUnskein(product.unskein());
    EXPECT_TRUE(WaitFor([&] { return !FileExists(product.unskein()); }));
    EXPECT_FALSE(FileExists(product.folder() + "\\Uninstall.log"));
    EXPECT_FALSE(FileExists(product.folder() + "\\data\\a.txt"));
    EXPECT_EQ(ReadFile(mine), "the user's");
}

// The settings folder in the user's application data goes on Yes and stays
// on No; a record naming the Windows folder empties nothing.
TEST(DeleteOnUninstall, AsksAndKeepsTheSettingsOnNoAndNeverEmptiesWindows)
{
    const std::string windowsFile = WindowsDirectory() + "\\" + UniqueShortName("TW", "TXT");
    for (const bool yes : {false, true}) {
        CleanProduct product(yes ? "Settings Yes" : "Settings No",
                             ScriptCall("DeleteOnUninstall", {"[APPDATA]\\[APPNAME]\\", "1"}) +
                                 ScriptCall("DeleteOnUninstall", {"[WINPATH]\\", "0"}));
        const std::string settings = AppDataFolder() + "\\" + product.app;
        product.leftovers.Tree(settings);
        product.leftovers.File(windowsFile);
        EXPECT_NE(ReadFile(product.folder() + "\\Uninstall.log")
                      .find("\r\n" + settings + "\\|1|" + product.app + "\r\nDELETEFILES\r\n" + WindowsDirectory() +
                            "\\|0|" + product.app + "\r\nDELETEFILES\r\n"),
                  std::string::npos);
        CreateDirectoryA(settings.c_str(), nullptr);
        CreateDirectoryA((settings + "\\cache").c_str(), nullptr);
        WriteFile(settings + "\\cache\\tiles.bin", "made by the program");
        WriteFile(windowsFile, "Windows' own");

        UnskeinRun run(product.unskein());
        run.Confirm();
        run.ExpectMessageBox("Uninstall",
                             "Do you also want to remove the settings and files that " + product.app + " created?",
                             yes ? IDYES : IDNO);
        EXPECT_EQ(run.WaitForExit(), 0);
        EXPECT_FALSE(FileExists(product.folder() + "\\data\\a.txt"));
        EXPECT_EQ(DirectoryExists(settings), !yes);
        EXPECT_EQ(FileExists(settings + "\\cache\\tiles.bin"), !yes);
        EXPECT_EQ(ReadFile(windowsFile), "Windows' own");
    }
}
