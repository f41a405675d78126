// Unskein.exe: asks, reads the uninstall log beside itself and removes what
// it lists. No window of its own; message boxes are all it shows.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/handles.h"
#include "common/out_of_memory.h"
#include "common/registry_values.h"
#include "common/shared_counts.h"
#include "common/system_paths.h"
#include "common/whole_file.h"
#include "common/windows64.h"
#include "uninstall/entry_undo.h"
#include "uninstall/files_in_use.h"
#include "uninstall/folder_reach.h"
#include "uninstall/installation_keys.h"
#include "uninstall/own_shortcuts.h"
#include "uninstall/restart_removal.h"
#include "uninstall/program_made_files.h"
#include "uninstall/self_removal.h"
#include "uninstall/text/entry_rules.h"
#include "uninstall/text/log_reader.h"
#include "uninstall/text/path_rules.h"
#include "uninstall/text/removal_texts.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNoLog = -1;
constexpr int kExitOutOfMemory = -2;
constexpr int kExitFilesInUse = 2;

// Only a Yes removes: a message box that fails returns 0.
bool UserConfirms()
{
    return MessageBoxA(nullptr, "Are you really sure that you want to remove this program?", "Uninstall",
                       MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

// Whether the entry at `keyPath` starts this very program: only such an
// entry is this installation's to delete, whatever the log names.
bool IsOwnEntry(const std::string& keyPath, const std::string& ownProgram)
{
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, RegistryAccess(KEY_READ, IsInstallation64()),
                      key.out()) != ERROR_SUCCESS)
        return false;
    const std::optional<std::string> command = ReadTextValue(key.get(), "UninstallString");
    return command && SameProgramPath(ShortForm(UninstallProgramOf(*command)), ownProgram);
}

// The entries of the list of programs that start this program, for a log
// that names none of them (setup ended before it wrote its key line).
std::vector<std::string> FindOwnEntries(const std::string& ownProgram)
{
    std::vector<std::string> names;
    {
        RegistryKey branch;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallBranch, 0, RegistryAccess(KEY_READ, IsInstallation64()),
                          branch.out()) != ERROR_SUCCESS)
            return {};
        char name[256];
        DWORD length = sizeof name;
        for (DWORD index = 0; RegEnumKeyExA(branch.get(), index, name, &length, nullptr, nullptr, nullptr,
                                            nullptr) == ERROR_SUCCESS;
             ++index, length = sizeof name)
            names.push_back(std::string(kUninstallBranch) + "\\" + std::string(name, length));
    }
    std::vector<std::string> own;
    for (const std::string& keyPath : names)
        if (IsOwnEntry(keyPath, ownProgram))
            own.push_back(keyPath);
    return own;
}

// This installation's entries: those the log names that start this
// program, or, when it names none, any that does.
std::vector<std::string> OwnUninstallEntries(const std::vector<std::string>& loggedKeys,
                                             const std::string& programPath)
{
    const std::string ownProgram = ShortForm(programPath);
    std::vector<std::string> own;
    for (const std::string& key : loggedKeys) {
        const std::string keyPath = key.substr(0, key.size() - 1);  // without the appended backslash
        if (IsOwnEntry(keyPath, ownProgram))
            own.push_back(keyPath);
    }
    return own.empty() ? FindOwnEntries(ownProgram) : own;
}

// Takes back this installation's count of each shared file it logged; a
// count that reaches 0 goes. The files stay, whatever the count.
void ReleaseSharedFiles(const std::vector<std::string>& paths)
{
    RegistryKey counts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedCountsKey, 0,
                      RegistryAccess(KEY_QUERY_VALUE | KEY_SET_VALUE, IsInstallation64()), counts.out()) !=
        ERROR_SUCCESS)
        return;
    for (const std::string& path : paths) {
        const std::optional<DWORD> count = ReadSharedCount(counts.get(), path);
        if (count && *count > 1)
            WriteSharedCount(counts.get(), path, *count - 1);
        else if (count)
            RegDeleteValueA(counts.get(), path.c_str());
    }
}

// An entry of the list of programs, in the installation's view.
void DeleteEntryKey(const std::string& keyPath)
{
    const std::size_t slash = keyPath.rfind('\\');
    RegistryKey parent;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.substr(0, slash).c_str(), 0,
                      RegistryAccess(KEY_QUERY_VALUE, IsInstallation64()), parent.out()) == ERROR_SUCCESS)
        DeleteInstallationKey(parent.get(), keyPath.substr(slash + 1));
}

// Removes what the plan lists, each item only when it is reached without a
// link, the files the program made only when they go (`madeFilesToo`);
// returns how many were left for a link.
std::size_t RemoveListedItems(const RemovalPlan& plan, const std::string& installFolder,
                              const std::string& programPath, bool madeFilesToo)
{
    std::size_t throughLinks = 0;
    const auto remove = [&](const std::string& path, BOOL(WINAPI * removal)(LPCSTR)) {
        const Reach reach = ReachFromInstallFolder(path, installFolder);
        if (reach == Reach::kThroughLink)
            ++throughLinks;
        else if (reach == Reach::kDirect)
            removal(path.c_str());
    };
    // What is in use goes at the next start; other failures (not empty)
    // are expected and skipped.
    for (const std::string& file : plan.files)
        remove(file, DeleteFileNowOrAtRestart);
    throughLinks += RemoveMadeFiles(plan.madeFiles, madeFilesToo);
    for (const std::string& directory : plan.directories)
        remove(directory, RemoveDirectoryNowOrAtRestart);
    // The counts go back with the entry, once: a second run, which finds
    // the entry gone, takes no other product's count.
    const std::vector<std::string> entries = OwnUninstallEntries(plan.registryKeys, programPath);
    if (!entries.empty())
        ReleaseSharedFiles(plan.sharedFiles);
    for (const std::string& keyPath : entries)
        DeleteEntryKey(keyPath);
    return throughLinks;
}

}  // namespace

const OutOfMemoryEnding kOutOfMemoryEnding = {"Uninstall has run out of memory.", "Error", kExitOutOfMemory};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (IsSelfRemovalStage(commandLine))
        return RunSelfRemovalStage(commandLine);
    if (!UserConfirms())
        return kExitDone;
    // Whole however long, a cut path would name another log; in its short
    // form where this code page cannot spell it, as setup logged its folder.
    const std::string programPath = ProgramPath().path;
    const std::optional<std::string> log = ReadWholeFile(LogPathBeside(programPath));
    if (!log) {
        MessageBoxA(nullptr, "Failed to open log file", "Error", MB_OK);
        return kExitNoLog;
    }
    const std::string installFolder = programPath.substr(0, programPath.rfind('\\') + 1);
    const std::string shortFolder = ShortForm(installFolder);
    const UninstallLog read = ReadUninstallLog(*log);
    RemovalPlan plan = PlanRemoval(read);
    DropTakenOverShortcuts(plan.files, read, installFolder);
    if (!ProceedWhenFilesAreFree(plan.files, ShortForm(programPath)))
        return kExitFilesInUse;
    const EntryPlan entries = PlanEntryUndo(read);
    const bool madeFilesToo = ConfirmMadeFiles(plan.madeFiles);
    // A 64-bit installation's files and keys lie where the 64-bit programs
    // see them; a log carried to 32-bit Windows has no other view.
    SetInstallation64(plan.uses64 && IsWindows64());
    std::size_t skipped = plan.skipped + entries.skipped;
    {
        const FileRedirectionOff redirection(IsInstallation64());
        // Libraries unregister before any file goes.
        skipped += UndoEntries(entries, shortFolder);
        skipped += RemoveListedItems(plan, shortFolder, programPath, madeFilesToo);
    }
    if (skipped > 0)
        MessageBoxA(nullptr, SkippedRecordsText(skipped).c_str(), "Uninstall", MB_OK);
    if (RemovalAwaitsRestart())
        MessageBoxA(nullptr, kRestartCompletesRemovalText, "Uninstall", MB_OK);
    if (plan.cleanUninstall)
        StartSelfRemoval(programPath);
    return kExitDone;
}
