#include "setup/install/copy_page.h"

#include <optional>
#include <string>
#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/section_install.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/uninstall_log.h"
#include "setup/script/text/records.h"
#include "setup/script/text/variables.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"

namespace {

const char kPageName[] = "DIALOG_COPY";

// Closes a registry key when it goes.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

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

// Creates the installation directory and opens the log in it, logging every
// directory created on the way. False when the directory cannot be made:
// nothing installed then could be logged or uninstalled.
bool OpenLogInInstallDirectory(const std::string& installDirectory)
{
    std::vector<std::string> created;
    if (EnsureDirectory(installDirectory, created) < 0) {
        const std::string text =
            "Could not create the installation directory " + installDirectory + ", setup cannot install the files.";
        MessageBoxA(nullptr, text.c_str(), "UNEXPECTED ERROR", MB_OK);
        return false;
    }
    if (!OpenUninstallLog(installDirectory + "\\Uninstall.log"))
        MessageBoxA(nullptr, "UNINSTALL WILL NOT BE AVAILABLE, BECAUSE LOG FILE COULD NOT BE CREATED!",
                    "UNEXPECTED ERROR", MB_OK);
    LogCreatedDirectories(created);
    return true;
}

// The entry in the system's list of installed programs, through which
// Unskein.exe is started. Its key line goes into the log in any case.
void RegisterUninstallEntry()
{
    const std::string& appName = gVariables.Get("APPNAME");
    const std::string keyPath = UninstallKeyPath(appName);
    gInstall.log.StartRegistrySection();
    gInstall.log.WriteRegistryKey(keyPath);
    if (const std::optional<std::string> reason = UnregistrableNameReason(appName)) {
        MessageBoxA(nullptr, reason->c_str(), "UNEXPECTED ERROR", MB_OK);
        return;
    }
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, key.out(), nullptr) != ERROR_SUCCESS)
        return;
    const std::string& installDirectory = gVariables.Get("DP");
    SetStringValue(key.get(), "DisplayName", appName);
    SetStringValue(key.get(), "UninstallString", UninstallCommand(installDirectory));
    SetStringValue(key.get(), "InstallLocation", installDirectory);
    SetNumberValue(key.get(), "EstimatedSize", SizeInKilobytes(gInstall.installedBytes));
    SetStringValue(key.get(), "InstallDate", Today());
    // Setup offers neither: without these the list shows buttons that do nothing useful.
    SetNumberValue(key.get(), "NoModify", 1);
    SetNumberValue(key.get(), "NoRepair", 1);
    SetStringValue(key.get(), "DisplayIcon", UninstallIconPath(gInstall.firstShortcutTarget, installDirectory));
}

// The whole installation, once per program run. Nothing is rolled back
// after an abort: the log and the uninstall entry are completed so that
// Unskein can remove what was installed so far.
void RunInstallation(HWND page)
{
    gInstall.runStarted = true;
    if (!OpenLogInInstallDirectory(gVariables.Get("DP"))) {
        RequestQuit(kQuitAbort);
        EndDialog(page, kPageNext);
        return;
    }
    SetProgressRange(GetDlgItem(page, IDC_COPY_SECTION_BAR), CountChosenSections(gRecords.sections));
    // The page and its controls are drawn before copying begins; the paint
    // message this sends again finds the run started.
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const bool aborted = InstallSections(page) != 0;
    RegisterUninstallEntry();
    gInstall.log.Close();
    // Posted last: a pending quit makes every message box end unseen.
    if (aborted)
        RequestQuit(kQuitAbort);
    EndDialog(page, kPageNext);
}

void OnCopyPagePaint(HWND page)
{
    if (!gInstall.runStarted)
        RunInstallation(page);
}

INT_PTR CALLBACK CopyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    if (message == WM_PAINT)
        OnCopyPagePaint(page);
    return FALSE;
}

}  // namespace

INT_PTR ShowCopyPage()
{
    return RunPage(IDD_COPY_PAGE, CopyPageProc);
}
