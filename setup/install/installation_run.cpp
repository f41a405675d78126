#include "setup/install/installation_run.h"

#include <optional>
#include <vector>

#include "common/handles.h"
#include "common/windows64.h"
#include "setup/install/file_system.h"
#include "setup/install/folder_rights.h"
#include "setup/install/install_state.h"
#include "setup/install/obsolete_files.h"
#include "setup/install/section_install.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/uninstall_requests.h"
#include "setup/install/uninstall_log.h"
#include "setup/model/text/platform.h"
#include "setup/install/upgrade.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

void SetStringValue(HKEY key, const char* name, const std::string& value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void SetNumberValue(HKEY key, const char* name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return InstallDateText(now.wYear, now.wMonth, now.wDay);
}

// Why the application name cannot name an uninstall entry; nothing when it can.
std::optional<std::string> UnregistrableNameReason(const std::string& appName)
{
    // An empty name would put the values onto the shared Uninstall key itself.
    if (appName.empty())
        return "UNINSTALL WILL NOT BE REGISTERED, BECAUSE THE APPLICATION NAME IS EMPTY!";
    if (appName.size() > kMaxRegistryKeyName)
        return "UNINSTALL WILL NOT BE REGISTERED, BECAUSE THE APPLICATION NAME IS LONGER THAN " +
               std::to_string(kMaxRegistryKeyName) + " CHARACTERS!";
    return std::nullopt;
}

bool OpenEntryKey(const std::string& keyPath, RegistryKey& key)
{
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           RegistryAccess(KEY_ALL_ACCESS, IsInstallation64()), nullptr, key.out(),
                           nullptr) == ERROR_SUCCESS;
}

void SetTextValueUnlessEmpty(HKEY key, const char* name, const std::string& value)
{
    if (!value.empty())
        SetStringValue(key, name, value);
}

// Creates the installation directory and opens the log in it, logging every
// directory created on the way (the installation folder protected before
// anything goes into it), and writes the key line at once: from here
// on the log names the entry whatever becomes of setup. False when the
// directory cannot be made: nothing installed then could be logged or
// uninstalled, so nothing is.
bool OpenLogInInstallDirectory(const std::string& installDirectory, const std::string& keyPath, Prompter& prompter)
{
    std::vector<std::string> created;
    const int ensured = EnsureDirectory(installDirectory, created);
    if (ensured < 0) {
        const std::string text =
            "Could not create the installation directory " + installDirectory + ", setup cannot install the files.";
        Inform(prompter, text, "UNEXPECTED ERROR");
        return false;
    }
    if (ensured == 1)
        ProtectInstallFolder(installDirectory);
    if (!OpenUninstallLog(installDirectory + "\\Uninstall.log", keyPath))
        Inform(prompter, "UNINSTALL WILL NOT BE AVAILABLE, BECAUSE LOG FILE COULD NOT BE CREATED!",
               "UNEXPECTED ERROR");
    LogCreatedDirectories(created);
    gInstall.log.WriteRegistrySection(keyPath);
    if (IsInstallation64())
        gInstall.log.WriteEntry(LogKind::kInstall64, {kInstall64View});
    gInstall.log.Flush();
    return true;
}

// The entry in the system's list of installed programs, through which
// Unskein.exe is started. Registered before the first file, so that the list
// shows every product that setup began to install.
void RegisterUninstallEntry(const std::string& keyPath, Prompter& prompter)
{
    const std::string& appName = gVariables.Get("APPNAME");
    if (const std::optional<std::string> reason = UnregistrableNameReason(appName)) {
        Inform(prompter, *reason, "UNEXPECTED ERROR");
        return;
    }
    RegistryKey key;
    if (!OpenEntryKey(keyPath, key))
        return;
    const std::string& installDirectory = gVariables.Get("DP");
    SetStringValue(key.get(), "DisplayName", appName);
    SetStringValue(key.get(), "UninstallString", UninstallCommand(installDirectory));
    SetStringValue(key.get(), "InstallLocation", installDirectory);
    SetStringValue(key.get(), "InstallDate", Today());
    SetTextValueUnlessEmpty(key.get(), "Publisher", gVariables.Get("DEVELOPERNAME"));
    SetTextValueUnlessEmpty(key.get(), "DisplayVersion", gVariables.Get("APPVERSION"));
    SetTextValueUnlessEmpty(key.get(), "URLInfoAbout", gVariables.Get("APPURL"));
    // Setup offers neither: without these the list shows buttons that do nothing useful.
    SetNumberValue(key.get(), "NoModify", 1);
    SetNumberValue(key.get(), "NoRepair", 1);
    SetStringValue(key.get(), "DisplayIcon", UninstallProgramPath(installDirectory));
    RecordProgramGroup(key.get());
    gInstall.entryRegistered = true;
}

// What only the end of the run knows: the size installed and the icon.
void CompleteUninstallEntry(const std::string& keyPath)
{
    RegistryKey key;
    if (!gInstall.entryRegistered || !OpenEntryKey(keyPath, key))
        return;
    SetNumberValue(key.get(), "EstimatedSize", SizeInKilobytes(gInstall.installedBytes));
    SetStringValue(key.get(), "DisplayIcon",
                   UninstallIconPath(gInstall.firstShortcutTarget, gVariables.Get("DP")));
}

}  // namespace

RunOutcome RunInstallation(Prompter& prompter, Progress& progress)
{
    SetInstallation64(Uses64BitSystem(gRecords, gMachine));
    const std::string keyPath = UninstallKeyPath(gVariables.Get("APPNAME"));
    if (!OpenLogInInstallDirectory(gVariables.Get("DP"), keyPath, prompter)) {
        gInstall.runStopped = true;
        return RunOutcome::kAbortRun;
    }
    RegisterUninstallEntry(keyPath, prompter);
    LogUninstallRequests(prompter);
    DeleteObsoleteFiles();
    progress.StartRun(CountChosenSections(gRecords.sections));
    const RunOutcome outcome = InstallSections(prompter, progress);
    gInstall.runStopped = outcome == RunOutcome::kAbortRun;
    progress.EndRun();
    CompleteUninstallEntry(keyPath);
    gInstall.log.Close();
    return outcome;
}
