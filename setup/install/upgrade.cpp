#include "setup/install/upgrade.h"

#include <optional>

#include "common/handles.h"
#include "common/registry_values.h"
#include "setup/install/install_state.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/text/upgrade.h"
#include "setup/model/text/variables.h"

namespace {

// The value the entry records the program group in.
const char kGroupValue[] = "ProgramGroup";

void TakeOver(const char* variable, const std::optional<std::string>& value)
{
    if (value && !value->empty())
        gVariables.Set(variable, *value);
}

}  // namespace

bool FindInstalledVersion(const std::string& version)
{
    gVariables.Set("APPVERSION", version);
    gInstall.upgrades = true;
    const std::string& appName = gVariables.Get("APPNAME");
    RegistryKey entry;
    if (appName.empty() || appName.size() > kMaxRegistryKeyName ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKeyPath(appName).c_str(), 0, KEY_READ, entry.out()) !=
            ERROR_SUCCESS)
        return false;
    const std::optional<std::string> command = ReadTextValue(entry.get(), "UninstallString");
    const std::optional<std::string> folder = command ? InstalledFolderOf(*command) : std::nullopt;
    if (!folder)
        return false;
    gVariables.Set("DP", *folder);
    TakeOver("PROGRAMGROUP", ReadTextValue(entry.get(), kGroupValue));
    const std::string installed = ReadTextValue(entry.get(), "DisplayVersion").value_or("");
    gVariables.Set("INSTALLEDVERSION", installed);
    return CompareVersions(installed, version) > 0;
}

void RecordProgramGroup(HKEY entry)
{
    if (!gInstall.upgrades)
        return;
    const std::string& group = gVariables.Get("PROGRAMGROUP");
    RegSetValueExA(entry, kGroupValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(group.c_str()),
                   static_cast<DWORD>(group.size() + 1));
}
