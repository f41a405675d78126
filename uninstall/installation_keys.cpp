#include "uninstall/installation_keys.h"

#include "common/windows64.h"

LONG DeleteInstallationKey(HKEY parent, const std::string& subkey)
{
    using DeleteInView = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
    if (!IsInstallation64())
        return RegDeleteKeyA(parent, subkey.c_str());
    const HMODULE advapi = GetModuleHandleA("ADVAPI32.DLL");
    const auto deleteKey =
        reinterpret_cast<DeleteInView>(advapi ? GetProcAddress(advapi, "RegDeleteKeyExA") : nullptr);
    return deleteKey ? deleteKey(parent, subkey.c_str(), kRegistry64View, 0) : ERROR_PROC_NOT_FOUND;
}
