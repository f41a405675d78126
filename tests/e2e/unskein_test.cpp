// Unskein.exe seen from outside: an installation directory holding the
// uninstaller and its log, the question, and what is left afterwards.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <vector>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::ShortPathOf;
using testing_support::TempDir;
using testing_support::WriteFile;
using testing_support::CopyFixture;
using testing_support::ForgetPendingRename;
using testing_support::IsPendingDeletion;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// An installation directory with Unskein.exe copied in, as setup leaves it.
class Installation {
public:
    Installation() : dir_("installed")
    {
        EXPECT_TRUE(CopyFileA(UnskeinProgram().c_str(), unskein().c_str(), FALSE)) << UnskeinProgram();
    }
    const std::string& path() const { return dir_.path(); }
    std::string operator/(const std::string& name) const { return dir_ / name; }
    std::string unskein() const { return dir_ / "Unskein.exe"; }
    void WriteLog(const std::string& text) const { WriteFile(dir_ / "uninstall.log", text); }
    // Creates a file and the directories it lies in.
    void AddFile(const std::string& relativePath) const
    {
        const std::string path = dir_ / relativePath;
        SHCreateDirectoryExA(nullptr, path.substr(0, path.rfind('\\')).c_str(), nullptr);
        WriteFile(path, "bytes of " + relativePath);
    }

private:
    TempDir dir_;
};

// A key under the Uninstall key that starts the installation's Unskein.exe,
// as setup registers it; removed afterwards.
class UninstallEntry {
public:
    explicit UninstallEntry(const Installation& installation)
        : name_("Tessel Unskein Test " + std::to_string(GetCurrentProcessId()))
    {
        HKEY key;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name_.c_str()),
                       static_cast<DWORD>(name_.size() + 1));
        const std::string command = "\"" + installation.unskein() + "\"";
        RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
    ~UninstallEntry() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, path().c_str()); }
    std::string path() const { return std::string(kUninstallKey) + "\\" + name_; }

private:
    std::string name_;
};

// Runs a program of the Linux side (Wine starts them too) in `directory`
// and waits until `done` holds: Wine gives such a program no process
// handle, so RunToEnd comes back at once.
bool RunUnixProgram(const std::string& commandLine, const std::string& directory,
                    const std::function<bool()>& done)
{
    testing_support::RunToEnd(commandLine, directory, 5000);
    return WaitUntil(done);
}

// A symbolic link that Wine shows as a reparse point, as Windows shows a
// junction; removed when it goes.
class FolderLink {
public:
    FolderLink(const std::string& folder, const std::string& name, const std::string& target)
        : folder_(folder), name_(name)
    {
        const bool made = RunUnixProgram("Z:\\bin\\ln -s " + target + " " + name, folder,
                                         [&] { return GetFileAttributesA(path().c_str()) != INVALID_FILE_ATTRIBUTES; });
        EXPECT_TRUE(made && (GetFileAttributesA(path().c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)) << path();
    }
    ~FolderLink()
    {
        RunUnixProgram("Z:\\bin\\rm " + name_, folder_,
                       [&] { return GetFileAttributesA(path().c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
    std::string path() const { return folder_ + "\\" + name_; }

private:
    std::string folder_;
    std::string name_;
};

// Presses Enter in a message box, on the button that has the focus.
void PressEnter(HWND box)
{
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread);
    HWND target = thread.hwndFocus ? thread.hwndFocus : box;
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(target, WM_KEYUP, VK_RETURN, 0xC0000001);
}

}  // namespace

TEST(Unskein, AnythingButYesLeavesEverything)
{
    Installation installation;
    installation.AddFile("app.exe");
    UninstallEntry entry(installation);
    installation.WriteLog(LogHeader("5/24/2001") + Lines({installation.path() + "\\", "DIR", installation / "app.exe",
                                               "NONSHARED", "[REGISTRY]", entry.path()}));
    {
        UnskeinRun run(installation.unskein());
        run.ExpectMessageBox("Uninstall", kRemovalQuestion, IDNO);
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    {
        UnskeinRun run(installation.unskein());
        const MessageBoxSeen box = run.NextMessageBox();
        ASSERT_TRUE(box.window);
        EXPECT_EQ(box.caption, "Uninstall");
        EXPECT_EQ(box.text, kRemovalQuestion);
        PressEnter(box.window);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }));
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    {
        // A box ended with neither button (here with the Cancel it does not show).
        UnskeinRun run(installation.unskein());
        const MessageBoxSeen box = run.NextMessageBox();
        ASSERT_TRUE(box.window);
        PostMessageA(box.window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }));
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    EXPECT_TRUE(FileExists(installation / "app.exe"));
    EXPECT_TRUE(KeyExists(entry.path()));
}

TEST(Unskein, MissingLogEndsWithItsMessage)
{
    Installation installation;
    UnskeinRun run(installation.unskein());
    run.Confirm();
    run.ExpectMessageBox("Error", "Failed to open log file", IDOK);
    EXPECT_EQ(run.WaitForExit(), -1);
}

TEST(Unskein, RemovesWhatTheLogListsAndNothingElse)
{
    Installation installation;
    TempDir system("system");
    TempDir group("group");
    const std::string shared = system / "shared.dll";
    WriteFile(shared, "shared library");
    WriteFile(group / "Demo.lnk", "shortcut");
    installation.AddFile("readme.txt");
    installation.AddFile("bin\\tool.exe");
    installation.AddFile("bin\\deep\\a long file name.txt");
    installation.AddFile("outer\\inner\\listed.txt");
    installation.AddFile("outer\\inner\\made by the user.txt");
    UninstallEntry entry(installation);
    const std::string inst = installation.path();
    const std::string deepFile = ShortPathOf(installation / "bin\\deep\\a long file name.txt");
    ASSERT_NE(deepFile, "");
    installation.WriteLog(LogHeader("5/24/2001") + Lines({
        inst + "\\", "DIR",
        group.path(), "DIR",
        installation.unskein(), "NONSHARED",
        installation / "readme.txt", "NONSHARED",
        group / "Demo.lnk", "NONSHARED",
        shared, "SHARED", "AUTOREGSVR",  // the records after it must stay in step
        inst + "\\bin", "DIR",
        installation / "bin\\tool.exe", "NONSHARED",
        inst + "\\bin\\deep", "DIR",
        deepFile, "NONSHARED",
        inst + "\\outer", "DIR",
        inst + "\\outer\\inner", "DIR",
        installation / "outer\\inner\\listed.txt", "NONSHARED",
        "[REGISTRY]",
        std::string(kUninstallKey) + "\\",  // written when the application name was empty
        entry.path(),
    }));

    for (int run = 0; run < 2; ++run) {  // the second run finds everything gone and still ends well
        SCOPED_TRACE(run);
        RemoveWithUnskein(installation.unskein());

        EXPECT_FALSE(FileExists(installation / "readme.txt"));
        EXPECT_FALSE(DirectoryExists(inst + "\\bin"));
        EXPECT_FALSE(DirectoryExists(group.path()));
        EXPECT_FALSE(KeyExists(entry.path()));
        EXPECT_FALSE(FileExists(installation / "outer\\inner\\listed.txt"));
        // A directory holding a file of the user's stays, and so do its parents.
        EXPECT_TRUE(FileExists(installation / "outer\\inner\\made by the user.txt"));
        EXPECT_TRUE(FileExists(shared));
        EXPECT_TRUE(KeyExists(kUninstallKey));
        // The uninstaller cannot delete itself while it runs; with the log it keeps the directory.
        EXPECT_TRUE(FileExists(installation.unskein()));
        EXPECT_TRUE(FileExists(installation / "uninstall.log"));
    }
}

TEST(Unskein, LeavesWhatAHostileLogNamesBesidePlainPathsAndTellsHowManyItSkipped)
{
    Installation installation;
    installation.AddFile("listed.txt");
    installation.AddFile("data\\listed.txt");
    TempDir victims("victims");
    TempDir current("current");
    const std::string victimsName = victims.path().substr(victims.path().rfind('\\') + 1);
    const std::vector<std::string> victimFiles = {current / "relative.txt", victims / "climbed.txt",
                                                  victims / "device.txt", victims / "linked.txt"};
    for (const std::string& victim : victimFiles)
        WriteFile(victim, "another user's bytes");
    CreateDirectoryA((victims / "climbed folder").c_str(), nullptr);
    const FolderLink link(installation.path(), "link", "../" + victimsName);
    const std::string up = installation.path() + "\\..\\" + victimsName;
    installation.WriteLog(LogHeader("5/24/2001") + Lines({
        "relative.txt", "NONSHARED",
        up + "\\climbed.txt", "NONSHARED",
        up + "\\climbed folder", "DIR",
        "\\\\?\\" + victims / "device.txt", "NONSHARED",
        "\\\\.\\" + victims / "device.txt", "NONSHARED",
        installation / "link\\linked.txt", "NONSHARED",
        installation / "listed.txt", "NONSHARED",
        installation.path() + "\\data", "DIR",
        installation / "data\\listed.txt", "NONSHARED",
        "[REGISTRY]",
    }));

    ProgramRun unskein(installation.unskein(), current.path());
    unskein.ExpectMessageBox("Uninstall", kRemovalQuestion, IDYES);
    unskein.ExpectMessageBox(
        "Uninstall", "Skipped 6 entries of the log file that are not full paths or lie behind linked folders.", IDOK);
    EXPECT_EQ(unskein.WaitForExit(), 0);
    for (const std::string& victim : victimFiles)
        EXPECT_TRUE(FileExists(victim)) << victim;
    EXPECT_TRUE(DirectoryExists(victims / "climbed folder"));
    EXPECT_FALSE(FileExists(installation / "listed.txt"));
    EXPECT_FALSE(DirectoryExists(installation / "data"));
}

// A program of the installation runs: Unskein names it before removing
// anything. Abort leaves everything and the entry; Ignore removes the rest
// and has the system delete the program and its folder at the next start,
// and says so once.
TEST(Unskein, ProgramInUseIsNamedAndGoesAtTheNextStartWhenIgnored)
{
    Installation installation;
    installation.AddFile("readme.txt");
    CopyFixture("lingering.exe", installation / "NotepadLite.exe");
    UninstallEntry entry(installation);
    const std::string program = ShortPathOf(installation / "NotepadLite.exe");
    const std::string folder = installation.path() + "\\";
    installation.WriteLog(LogHeader("5/24/2001") + Lines({folder, "DIR", program, "NONSHARED",
                                                          installation / "readme.txt", "NONSHARED", "[REGISTRY]",
                                                          entry.path()}));
    ProgramRun running(installation / "NotepadLite.exe", installation.path());
    ASSERT_TRUE(WaitUntil([&] { return FileExists(installation / "NotepadLite.exe.running"); }));
    const std::string inUse = "These files are in use, or you may not delete them:\n\n" + program +
                              "\n\nClose the programs that use them, then choose Retry. Ignore removes the files in "
                              "use when Windows restarts. Abort removes nothing.";
    {
        UnskeinRun run(installation.unskein());
        run.Confirm();
        run.ExpectMessageBox("Uninstall", inUse, IDRETRY);
        run.ExpectMessageBox("Uninstall", inUse, IDABORT);
        EXPECT_EQ(run.WaitForExit(), 2);
    }
    EXPECT_TRUE(FileExists(installation / "readme.txt"));
    EXPECT_TRUE(KeyExists(entry.path()));
    {
        UnskeinRun run(installation.unskein());
        run.Confirm();
        run.ExpectMessageBox("Uninstall", inUse, IDIGNORE);
        run.ExpectMessageBox("Uninstall", "Some files are in use. Restart Windows to complete the removal.", IDOK);
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    EXPECT_FALSE(FileExists(installation / "readme.txt"));
    EXPECT_FALSE(KeyExists(entry.path()));
    EXPECT_TRUE(IsPendingDeletion(program));
    EXPECT_TRUE(IsPendingDeletion(folder));
    ForgetPendingRename(program);
    ForgetPendingRename(folder);
}
