// Registry values, file types, a context-menu entry, INI values and a
// library that registers itself, installed and taken back; and log records
// edited to name keys that are never deleted.
#include <gtest/gtest.h>

#include <optional>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"
#include "tests/support/install_support.h"

using namespace e2e;
using namespace testing_support;

namespace {

template <typename Function>
Function ShellFunction(const char* name)
{
    return reinterpret_cast<Function>(GetProcAddress(LoadLibraryA("shlwapi.dll"), name));
}

std::optional<std::string> ValueOf(HKEY root, const std::string& key, const std::string& name)
{
    char data[1024];
    DWORD size = sizeof data;
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<DWORD*>(data));
    return std::string(data, size > 0 ? size - 1 : 0);
}

bool Exists(HKEY root, const std::string& key)
{
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void SetValue(HKEY root, const std::string& key, const std::string& name, const std::string& data)
{
    HKEY opened;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(opened);
}

// Keys a test made or had setup make, deleted with everything below them when it goes.
class KeyLeftovers {
public:
    void Add(HKEY root, const std::string& key) { keys_.push_back({root, key}); }
    ~KeyLeftovers()
    {
        const auto deleteKey = ShellFunction<DWORD(WINAPI*)(HKEY, LPCSTR)>("SHDeleteKeyA");
        for (const auto& [root, key] : keys_)
            deleteKey(root, key.c_str());
    }

private:
    std::vector<std::pair<HKEY, std::string>> keys_;
};

std::string Registry(const std::string& root, const std::string& key, const std::string& name,
                     const std::string& type, const std::string& data, const std::string& removal)
{
    return ScriptCall("AddRegistry", {root, key, name, type, data, "Main", removal});
}

std::string Start(const InstallCase& test)
{
    return ScriptCall("SetAppName", {test.app}) + ScriptCall("SetVariable", {"DP", test.root / "App\\"}) +
           ScriptCall("SetVariable", {"PROGRAMGROUP", test.root / "Group"}) +
           ScriptCall("CreateSection", {"Main", "1", "0", ""}) + AddFileCall(UnskeinProgram(), "[DP]\\", "Main");
}

// Runs the Unskein.exe that setup installed, answering its question and
// the count of records it skipped; on Windows 98 a copy of it, so that no
// other test's Unskein.exe poses as Windows 98 too.
void Uninstall(const std::string& installDir, const RunOptions& options, const std::string& skipped)
{
    std::string program = installDir + "Unskein.exe";
    std::string settings;
    if (options.windows98) {
        const std::string name = "Unskein-" + std::to_string(GetCurrentProcessId()) + ".exe";
        CopyFileA(program.c_str(), (installDir + name).c_str(), FALSE);
        program = installDir + name;
        settings = SetProgramSettings(name, options);
    }
    UnskeinRun run(program);
    run.Confirm();
    run.ExpectMessageBox("Uninstall", skipped, IDOK);
    EXPECT_EQ(run.WaitForExit(), 0);
    if (!settings.empty())
        RemoveProgramSettings(settings);
}

// Every root and type, a file type with its open command, a context-menu
// entry for every file, a value and a vendor key that were there before,
// and an INI value; a value too long for the log is refused. After Unskein only what was there before is left; two
// records edited to name HKLM\Software and HKCR\.txt with "KEY" are skipped.
void InstallAndRemoveEntries(const RunOptions& options)
{
    InstallCase test("Registry");
    const std::string id = std::to_string(GetCurrentProcessId());
    const std::string installDir = test.root / "App\\";
    const std::string vendor = "Software\\Tessel Vendor " + id, shared = "Software\\Tessel Shared " + id;
    const std::string extension = ".tz" + id, fileType = "TesselTest" + id + ".File";
    const std::string menu = "*\\shell\\TesselTest" + id;
    const std::string ini = test.root / "settings.ini";
    KeyLeftovers keys;
    keys.Add(HKEY_LOCAL_MACHINE, vendor);
    keys.Add(HKEY_CURRENT_USER, vendor);
    keys.Add(HKEY_CURRENT_USER, shared);
    for (const std::string& key : {extension, fileType, menu})
        keys.Add(HKEY_CLASSES_ROOT, key);
    SetValue(HKEY_CLASSES_ROOT, ".txt", "Content Type", "text/plain");  // as Windows has it
    SetValue(HKEY_CURRENT_USER, shared, "Other", "another product's");
    SetValue(HKEY_CURRENT_USER, shared + "\\Editor", "", "notepad.exe");
    WriteFile(ini, "[Other]\r\nKeep=1\r\n");
    const std::string command = "\"\"[DP]Puzzle.exe\"\" \"\"%1\"\"";  // quotes doubled in the script
    test.medium.WriteScript(
        Start(test) + Registry("HKLM", vendor + "\\Puzzle", "Folder", "SZ", "[DP]", "VALUE") +
        Registry("HKCU", vendor + "\\Puzzle\\Settings", "Help", "EXPAND_SZ", "%WINDIR%\\[APPNAME]", "KEY") +
        Registry("HKCU", vendor + "\\Puzzle\\Settings", "Size", "DWORD", "0x2A", "KEY") +
        Registry("HKCU", shared + "\\Editor", "", "SZ", "[DP]Puzzle.exe", "VALUE") +
        Registry("HKCU", shared, "", "NONE", "", "KEY") + Registry("HKCR", extension, "", "SZ", fileType, "VALUE") +
        Registry("HKCR", fileType + "\\shell\\open\\command", "", "SZ", command, "VALUE") +
        Registry("HKCR", menu, "", "SZ", "Open with Tile Puzzle", "VALUE") +
        Registry("HKCR", menu + "\\command", "", "SZ", command, "VALUE") +
        Registry("HKCU", vendor, "Long", "SZ", std::string(250, 'x'), "VALUE") +
        ScriptCall("AddIniValue", {ini, "Paths", "Home", "[DP]", "Main", "VALUE"}) + ScriptCall("ShowCopy"));
    {
        SetupRun setup(test.medium, options);
        if (options.windows98)
            setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!", IDOK);
        setup.ExpectMessageBox("Error",
                               "The registry entry HKCU\\" + vendor + "\\Long does not fit a line of 259 characters "
                               "in the uninstall log, setup will not install it.",
                               IDOK);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    const std::string opened = "\"" + installDir + "Puzzle.exe\" \"%1\"";
    EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, vendor + "\\Puzzle", "Folder"), installDir);
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, vendor + "\\Puzzle\\Settings", "Help"), "%WINDIR%\\" + test.app);
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, vendor + "\\Puzzle\\Settings", "Size"), "42");
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, vendor, "Long"), std::nullopt);
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, shared + "\\Editor", ""), installDir + "Puzzle.exe");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, menu, ""), "Open with Tile Puzzle");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, menu + "\\command", ""), opened);
    const auto query = ShellFunction<HRESULT(WINAPI*)(DWORD, DWORD, LPCSTR, LPCSTR, LPSTR, DWORD*)>("AssocQueryStringA");
    char found[MAX_PATH] = {};
    DWORD size = sizeof found;
    EXPECT_EQ(query(0, 1 /* ASSOCSTR_COMMAND */, extension.c_str(), "open", found, &size), S_OK);
    EXPECT_EQ(std::string(found), opened);
    EXPECT_EQ(ReadFile(ini), "[Other]\r\nKeep=1\r\n[Paths]\r\nHome=" + installDir + "\r\n");

    const std::string log = ReadFile(installDir + "Uninstall.log");
    const std::string hostile = Lines({"HKLM|Software||NONE||KEY|1|", "REGVALUE", "HKCR|.txt||NONE||KEY|1|", "REGVALUE"});
    WriteFile(installDir + "Uninstall.log", log.substr(0, log.find("[REGISTRY]")) + hostile +
                                                log.substr(log.find("[REGISTRY]")));
    Uninstall(installDir, options,
              "Skipped 2 entries of the log file that are not full paths or lie behind linked folders.");
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, vendor));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, vendor));
    for (const std::string& key : {extension, fileType, menu})
        EXPECT_FALSE(Exists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, shared, "Other"), "another product's");
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, shared + "\\Editor", ""), "notepad.exe");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, ".txt", "Content Type"), "text/plain");
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, "Software\\Microsoft"));
    EXPECT_EQ(ReadFile(ini), "[Other]\r\nKeep=1\r\n");
}

}  // namespace

TEST(RegistryEntries, AreWrittenWithTheChosenFolderAndTakenBackToWhatWasThere)
{
    InstallAndRemoveEntries({});
}

TEST(RegistryEntries, AreWrittenAndTakenBackOnWindows98)
{
    InstallAndRemoveEntries({.windows98 = true});
}

// The library registers after its file is installed and unregisters while
// its file is still there: its mark is set, then gone.
TEST(RegisterLibrary, RegistersAfterInstallAndUnregistersBeforeItsFileGoes)
{
    InstallCase test("Library");
    const std::string installDir = test.root / "App\\";
    const std::string library = installDir + "register_mark.dll";
    const std::string marks = "Software\\Tessel Test Marks";
    test.medium.WriteScript(Start(test) + AddFileCall(FixturePath("register_mark.dll"), "[DP]\\", "Main") +
                            ScriptCall("RegisterLibrary", {"[DP]\\register_mark.dll", "Main"}) +
                            ScriptCall("ShowCopy"));
    {
        SetupRun setup(test.medium);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadFile(installDir + "Uninstall.log"),
              ExpectedLog({installDir, "DIR", test.root / "Group", "DIR", ShortPathOf(installDir + "Unskein.exe"),
                           "NONSHARED", ShortPathOf(library), "NONSHARED", library, "REGLIBRARY"},
                          test.app));
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, marks, library), "registered");
    RemoveWithUnskein(installDir + "Unskein.exe");
    EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, marks, library), std::nullopt);
    EXPECT_FALSE(FileExists(library));
}
