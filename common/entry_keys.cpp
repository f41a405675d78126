#include "common/entry_keys.h"

#include <vector>

#include "common/system_paths.h"
#include "common/windows64.h"

LONG OpenEntryKey(RegistryRoot root, const std::string& key, REGSAM access, bool create, RegistryKey& opened)
{
    HKEY base = root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    std::string path = key;
    if (root == RegistryRoot::kClassesRoot) {
        if (IsWindowsNt())
            path = key.empty() ? "Software\\Classes" : "Software\\Classes\\" + key;
        else
            base = HKEY_CLASSES_ROOT;
    }
    access = RegistryAccess(access, IsInstallation64());
    if (create)
        return RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, opened.out(),
                               nullptr);
    return RegOpenKeyExA(base, path.c_str(), 0, access, opened.out());
}

std::optional<StoredValue> ReadStoredValue(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Another program may change the value in between: read until the size holds.
    for (;;) {
        std::vector<BYTE> bytes(size + 1);
        DWORD read = size;
        const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &read);
        if (result == ERROR_SUCCESS)
            return StoredValue{type, std::string(reinterpret_cast<const char*>(bytes.data()), read)};
        if (result != ERROR_MORE_DATA)
            return std::nullopt;
        size = read;
    }
}

LONG WriteStoredValue(HKEY key, const std::string& name, const StoredValue& value)
{
    return RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                          static_cast<DWORD>(value.bytes.size()));
}
