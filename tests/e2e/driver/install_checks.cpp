#include "tests/e2e/driver/install_checks.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "common/handles.h"
#include "common/shared_counts.h"
#include "tests/support/support.h"

namespace e2e {

namespace {

const char kUninstallBranch[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string TodaysDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return std::to_string(now.wMonth) + "/" + std::to_string(now.wDay) + "/" + std::to_string(now.wYear);
}

std::string FileTimeText(const FILETIME& time)
{
    return std::to_string((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

void CollectTree(const std::string& directory, bool recursive, Snapshot& snapshot)
{
    for (const WIN32_FIND_DATAA& data : testing_support::DirectoryEntries(directory)) {
        const std::string path = directory + "\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[path] = "directory";
            if (recursive)
                CollectTree(path, recursive, snapshot);
        } else {
            const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            snapshot[path] = std::to_string(size) + " bytes, written " + FileTimeText(data.ftLastWriteTime);
        }
    }
}

void CollectKey(HKEY parent, const std::string& path, Snapshot& snapshot)
{
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        std::vector<BYTE> data(65536);
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS)
            break;
        snapshot[path + " : " + name] = std::to_string(type) + " " +
                                        std::string(reinterpret_cast<const char*>(data.data()), dataLength);
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys) {
        snapshot[path + "\\" + subkey] = "key";
        CollectKey(parent, path + "\\" + subkey, snapshot);
    }
}

}  // namespace

std::string ScriptCall(const std::string& command, const std::vector<std::string>& args)
{
    std::string call = command + "(";
    for (std::size_t i = 0; i < args.size(); ++i)
        call += (i ? ",\"" : "\"") + args[i] + "\"";
    return call + ");\n";
}

std::string AddFileCall(const std::string& source, const std::string& destination, const std::string& section,
                        bool shared, const std::string& shortcutName)
{
    return ScriptCall("AddFile", {source, destination, section, shared ? "1" : "0", "1", "0", "0", "0",
                                  shortcutName.empty() ? "0" : "1", shortcutName});
}

std::string PieceCall(const std::string& source, const std::string& destination, int disk, bool last,
                      const std::string& shortcutName)
{
    return ScriptCall("AddFile", {source, destination, "Main", "0", std::to_string(disk), "1", last ? "1" : "0", "0",
                                  shortcutName.empty() ? "0" : "1", shortcutName});
}

namespace {
const char kPauseText[] = "Take the disks out";
}

std::string PauseCall()
{
    return ScriptCall("ShowMessage", {kPauseText, "Medium", "", "NOW"});
}

void TakeDisksOutAtPause(ProgramRun& setup, const std::vector<std::string>& sources)
{
    const MessageBoxSeen pause = setup.NextMessageBox();
    ASSERT_EQ(pause.text, kPauseText);
    for (const std::string& source : sources)
        ASSERT_TRUE(DeleteFileA(source.c_str())) << source;
    setup.Press(pause.window, IDOK);
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string LogHeader(const std::string& date)
{
    return Lines({"ZYNTRAK V1", "", "TESSEL UNINSTALLATION LOG FILE", "",
                  "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!",
                  "NO REAL PARSER DOES EXIST, SO DON\xB4T MODIFY ANYTHING!",
                  "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU",
                  "COULD BE UNABLE TO RESTART WINDOWS", "", "DATE:" + date, "[FILES]"});
}

std::string ExpectedLog(const std::vector<std::string>& records, const std::string& appName)
{
    std::vector<std::string> lines = records;
    lines.push_back("[REGISTRY]");
    lines.push_back(UninstallKey(appName));
    return LogHeader(TodaysDate()) + Lines(lines);
}

std::string UninstallKey(const std::string& appName)
{
    return kUninstallBranch + appName;
}

std::optional<std::string> UninstallValue(const std::string& appName, const std::string& valueName)
{
    return RegistryValue(UninstallKey(appName), valueName);
}

std::optional<std::string> SharedCount(const std::string& path)
{
    return RegistryValue(kSharedCountsKey, path);
}

std::optional<std::string> RegistryValue(const std::string& keyPath, const std::string& valueName)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> value;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_DWORD)) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size) ==
            ERROR_SUCCESS)
            value = type == REG_SZ ? data.substr(0, data.find('\0'))
                                   : std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    }
    RegCloseKey(key);
    return value;
}

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

std::string ProgramsFolder()
{
    return ShellFolder(CSIDL_PROGRAMS);
}

std::string ProgramFilesFolder()
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
    }
    return value;
}

ShortcutSeen ReadShortcut(const std::string& linkPath)
{
    ShortcutSeen seen;
    CoInitialize(nullptr);
    {
        ComPointer<IShellLinkA> link;
        ComPointer<IPersistFile> file;
        wchar_t widePath[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) &&
            SUCCEEDED(file->Load(widePath, STGM_READ))) {
            char text[MAX_PATH] = "";
            seen.loaded = SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
            seen.target = text;
            text[0] = '\0';
            link->GetDescription(text, sizeof text);
            seen.description = text;
            text[0] = '\0';
            link->GetArguments(text, sizeof text);
            seen.arguments = text;
            text[0] = '\0';
            link->GetWorkingDirectory(text, sizeof text);
            seen.workingFolder = text;
            text[0] = '\0';
            link->GetIconLocation(text, sizeof text, &seen.iconIndex);
            seen.icon = text;
        }
    }
    CoUninitialize();
    return seen;
}

HWND NextDialogWith(ProgramRun& run, int controlId, HWND previous)
{
    EXPECT_TRUE(WaitUntil([&] { return !previous || !IsWindow(previous); })) << "the dialog answered stays";
    HWND dialog = run.WaitForDialogWith(controlId);
    EXPECT_TRUE(dialog) << "no dialog with control " << controlId;
    return dialog;
}

ProgressSeen ReadProgress(HWND bar)
{
    // With a null range structure the bar answers the limit itself, which
    // crosses the process boundary.
    ProgressSeen seen;
    seen.low = static_cast<int>(SendMessageA(bar, PBM_GETRANGE, TRUE, 0));
    seen.high = static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    seen.position = static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    return seen;
}

bool operator==(const ProgressSeen& a, const ProgressSeen& b)
{
    return a.low == b.low && a.high == b.high && a.position == b.position;
}

void PrintTo(const ProgressSeen& progress, std::ostream* out)
{
    *out << "range " << progress.low << ".." << progress.high << " at " << progress.position;
}

Leftovers::~Leftovers()
{
    for (const std::string& appName : appNames_)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey(appName).c_str());
    for (const std::string& path : files_) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    for (const std::string& path : trees_)
        testing_support::RemoveTree(path);
    HKEY counts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedCountsKey, 0, KEY_SET_VALUE, &counts) == ERROR_SUCCESS) {
        for (const std::string& path : files_)
            RegDeleteValueA(counts, path.c_str());
        RegCloseKey(counts);
    }
}

InstallCase::InstallCase(const std::string& name)
    : app("Tessel " + name + " " + std::to_string(GetCurrentProcessId()))
{
    leftovers.UninstallEntry(app);
}

std::string UniqueShortName(const std::string& prefix, const std::string& extension)
{
    static unsigned counter = 0;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>((GetCurrentProcessId() * 16 + ++counter) & 0xFFFF));
    return prefix.substr(0, 2) + digits + "." + extension;
}

const std::vector<std::string>& PlantableDlls()
{
    static const std::vector<std::string> names = {"comctl32", "setupapi", "psapi",         "vdmdbg", "uxtheme",
                                                   "propsys",  "userenv",  "windowscodecs", "dwmapi", "oleacc"};
    return names;
}

Snapshot SnapshotTree(const std::string& root, bool recursive)
{
    Snapshot snapshot;
    CollectTree(root, recursive, snapshot);
    return snapshot;
}

Snapshot SnapshotRegistry(const std::string& keyPath)
{
    Snapshot snapshot;
    CollectKey(HKEY_LOCAL_MACHINE, keyPath, snapshot);
    return snapshot;
}

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after)
{
    std::vector<std::string> differences;
    for (const auto& [name, value] : after) {
        const auto old = before.find(name);
        if (old == before.end())
            differences.push_back("+ " + name);
        else if (old->second != value)
            differences.push_back("~ " + name);
    }
    for (const auto& [name, value] : before)
        if (after.find(name) == after.end())
            differences.push_back("- " + name);
    std::sort(differences.begin(), differences.end(),
              [](const std::string& a, const std::string& b) { return a.substr(2) < b.substr(2); });
    return differences;
}

}  // namespace e2e
