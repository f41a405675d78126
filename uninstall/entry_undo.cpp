#include "uninstall/entry_undo.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

#include "common/entry_keys.h"
#include "common/ini_values.h"
#include "common/installed_library.h"
#include "common/server_64.h"
#include "common/system_paths.h"
#include "common/windows64.h"
#include "uninstall/folder_reach.h"
#include "uninstall/installation_keys.h"
#include "uninstall/text/path_rules.h"

namespace {

bool IsKeyEmpty(RegistryRoot root, const std::string& key)
{
    RegistryKey opened;
    DWORD subkeys = 0, values = 0;
    return OpenEntryKey(root, key, KEY_QUERY_VALUE, false, opened) == ERROR_SUCCESS &&
           RegQueryInfoKeyA(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

void DeleteKey(RegistryRoot root, const std::string& key)
{
    const std::size_t slash = key.rfind('\\');
    const std::string parent = slash == std::string::npos ? "" : key.substr(0, slash);
    RegistryKey opened;
    if (OpenEntryKey(root, parent, KEY_ALL_ACCESS, false, opened) == ERROR_SUCCESS)
        DeleteInstallationKey(opened.get(), key.substr(slash + 1));
}

// Windows NT deletes only keys without subkeys.
void DeleteKeyTree(RegistryRoot root, const std::string& key)
{
    std::vector<std::string> subkeys;
    {
        RegistryKey opened;
        if (OpenEntryKey(root, key, KEY_READ, false, opened) != ERROR_SUCCESS)
            return;
        char name[256];
        DWORD length = sizeof name;
        for (DWORD index = 0; RegEnumKeyExA(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                              ERROR_SUCCESS;
             ++index, length = sizeof name)
            subkeys.emplace_back(name, length);
    }
    for (const std::string& subkey : subkeys)
        DeleteKeyTree(root, key + "\\" + subkey);
    DeleteKey(root, key);
}

void UndoRegistryValue(const RegistryUndo& undo)
{
    if (undo.written) {
        RegistryKey opened;
        if (OpenEntryKey(undo.root, undo.key, KEY_QUERY_VALUE | KEY_SET_VALUE, false, opened) == ERROR_SUCCESS &&
            ReadStoredValue(opened.get(), undo.name) == undo.written) {
            if (undo.earlier)
                WriteStoredValue(opened.get(), undo.name, *undo.earlier);
            else
                RegDeleteValueA(opened.get(), undo.name.c_str());
        }
    }
    if (undo.wholeKey)
        DeleteKeyTree(undo.root, undo.key);
    for (const std::string& key : undo.emptyKeys)
        if (IsKeyEmpty(undo.root, key))
            DeleteKey(undo.root, key);
}

bool IsIniSectionEmpty(const IniUndo& undo)
{
    char names[16];
    return GetPrivateProfileSectionA(undo.section.c_str(), names, sizeof names, undo.file.c_str()) == 0;
}

void UndoIniValue(const IniUndo& undo)
{
    if (ReadIniValue(undo.file, undo.section, undo.key) != undo.value)
        return;
    WritePrivateProfileStringA(undo.section.c_str(), undo.key.c_str(), undo.earlier ? undo.earlier->c_str() : nullptr,
                               undo.file.c_str());
    if (!undo.earlier && IsIniSectionEmpty(undo))
        WritePrivateProfileStringA(undo.section.c_str(), nullptr, nullptr, undo.file.c_str());
}

// False when the library was left for safety.
bool UnregisterLibrary(const std::string& path, const std::string& installFolder)
{
    const std::optional<std::string> shortPath = SystemShortPath(path);
    if (!shortPath)
        return true;  // gone already
    if (!LiesBelow(installFolder, *shortPath) || ReachFromInstallFolder(path, installFolder) != Reach::kDirect)
        return false;
    if (IsInstallation64()) {
        RegisterWith64BitServer(path, true);
        return true;
    }
    const HMODULE module = LoadInstalledLibrary(path);
    if (!module)
        return true;
    using UnregisterServer = HRESULT(STDAPICALLTYPE*)();
    if (const auto unregister = reinterpret_cast<UnregisterServer>(GetProcAddress(module, "DllUnregisterServer")))
        unregister();
    FreeLibrary(module);
    return true;
}

}  // namespace

std::size_t UndoEntries(const EntryPlan& plan, const std::string& installFolder)
{
    std::size_t left = 0;
    bool fileTypes = false;
    for (const EntryUndo& entry : plan.entries) {
        if (entry.kind == LogKind::kRegistryValue) {
            UndoRegistryValue(entry.registry);
            fileTypes = fileTypes || entry.registry.fileTypes;
        } else if (entry.kind == LogKind::kIniValue) {
            UndoIniValue(entry.ini);
        } else if (!UnregisterLibrary(entry.library, installFolder)) {
            ++left;
        }
    }
    if (fileTypes)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return left;
}
