// A user whose folders are named in letters the system's code page lacks
// (Greek and Chinese on Wine's Western code page), and one whose name it
// holds: setup started from a medium in such a folder, installing into one,
// with the Programs folder inside one, makes every file and its shortcut,
// and the Unskein.exe it installed, started there by its real name, removes
// them and its entry. Serial, since it moves the Programs folder of the
// prefix's user.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

const char* const kNames[] = {"Ζωή", "用户", "José"};

// The Programs folder of the prefix's user in `folder` while the object lives.
class ProgramsFolderIn {
public:
    explicit ProgramsFolderIn(const std::wstring& folder)
    {
        for (const wchar_t* key : kKeys) {
            HKEY opened;
            RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &opened);
            wchar_t value[MAX_PATH] = L"";
            DWORD size = sizeof value, type = REG_SZ;
            RegQueryValueExW(opened, L"Programs", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
            saved_.push_back({type, value});
            Set(opened, type, folder);
            RegCloseKey(opened);
        }
    }
    ~ProgramsFolderIn()
    {
        for (size_t i = 0; i < saved_.size(); ++i) {
            HKEY opened;
            RegOpenKeyExW(HKEY_CURRENT_USER, kKeys[i], 0, KEY_ALL_ACCESS, &opened);
            Set(opened, saved_[i].first, saved_[i].second);
            RegCloseKey(opened);
        }
    }

private:
    static void Set(HKEY key, DWORD type, const std::wstring& value)
    {
        RegSetValueExW(key, L"Programs", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    static constexpr const wchar_t* kKeys[] = {
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
    std::vector<std::pair<DWORD, std::wstring>> saved_;
};

}  // namespace

TEST(FolderNames, MediumInstallationAndProgramsFoldersNamedInAnyScriptInstallAndUninstallWhole)
{
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        InstallCase test("Names");
        auto& [app, medium, root, leftovers] = test;
        const TempDir start("programs");
        const NamedFolder source(medium.path(), name), target(root.path(), name), programs(start.path(), name);
        const ProgramsFolderIn programsFolder(programs.wide);
        leftovers.Tree(programs.path + "\\" + app);
        WriteFile(source.path + "\\Program.exe", "the program");
        CopyFileA(SetupProgram().c_str(), (source.path + "\\setup.exe").c_str(), FALSE);
        CopyFileA(UnskeinProgram().c_str(), (source.path + "\\Unskein.exe").c_str(), FALSE);
        const std::string installDir = target.path + "\\Product\\";
        WriteFile(source.path + "\\SetupScript.INI",
                  ScriptCall("SetAppName", {app}) + ScriptCall("SetVariable", {"DP", installDir}) +
                      ScriptCall("CreateSection", {"Program", "1", "0", ""}) +
                      AddFileCall("[SP]\\Program.exe", "[DP]\\", "Program", false, "Names Program") +
                      AddFileCall("[SP]\\Unskein.exe", "[DP]\\", "Program") + ScriptCall("ShowCopy"));
        {
            ProgramRun setup(source.wide + L"\\setup.exe", source.wide);
            ASSERT_EQ(setup.WaitForExit(), 0);
        }
        const std::string link = programs.path + "\\" + app + "\\Names Program.lnk";
        EXPECT_EQ(ReadFile(installDir + "Program.exe"), "the program");
        EXPECT_EQ(ReadShortcut(link).target, installDir + "Program.exe");
        ASSERT_TRUE(KeyExists(UninstallKey(app)));
        {
            ProgramRun unskein(target.wide + L"\\Product\\Unskein.exe", Widened(root.path()));
            ExpectRemoved(unskein);
        }
        std::vector<std::string> left = DirectoryNames(installDir);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"Uninstall.log", "Unskein.exe"}));
        EXPECT_FALSE(DirectoryExists(programs.path + "\\" + app));
        EXPECT_FALSE(KeyExists(UninstallKey(app)));
    }
}
