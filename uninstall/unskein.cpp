// Unskein.exe: asks, reads the uninstall log beside itself and removes what
// it lists. No window of its own; message boxes are all it shows.
#include <windows.h>

#include <optional>
#include <string>

#include "common/short_path.h"
#include "common/whole_file.h"
#include "uninstall/text/log_reader.h"
#include "uninstall/text/path_rules.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitNoLog = -1;

// Only a Yes removes: a message box that fails returns 0.
bool UserConfirms()
{
    return MessageBoxA(nullptr, "Are you really sure that you want to remove this program?", "Uninstall",
                       MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

// The program's own path, whole however long: a cut path would name another log.
std::string ProgramPath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool IsLinkedFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

enum class Reach { kNothing, kThroughLink, kDirect };

// How `path` is reached from the installation folder. Whoever could write
// there may have replaced a folder by a junction or symbolic link that
// leads anywhere. Both are compared in their short forms, since the log
// names files by their short paths and folders by their long ones.
Reach ReachFromInstallFolder(const std::string& path, const std::string& installFolder)
{
    const std::optional<std::string> shortPath = SystemShortPath(path);
    if (!shortPath)
        return Reach::kNothing;
    for (const std::string& folder : FoldersBetween(installFolder, *shortPath))
        if (IsLinkedFolder(folder))
            return Reach::kThroughLink;
    return Reach::kDirect;
}

// Removes what the plan lists, each item only when it is reached without a
// link; returns how many were left for that.
std::size_t RemoveListedItems(const RemovalPlan& plan, const std::string& installFolder)
{
    std::size_t throughLinks = 0;
    const auto remove = [&](const std::string& path, BOOL(WINAPI * removal)(LPCSTR)) {
        const Reach reach = ReachFromInstallFolder(path, installFolder);
        if (reach == Reach::kThroughLink)
            ++throughLinks;
        else if (reach == Reach::kDirect)
            removal(path.c_str());
    };
    // Failures (in use, not empty) are expected and skipped.
    for (const std::string& file : plan.files)
        remove(file, DeleteFileA);
    for (const std::string& directory : plan.directories)
        remove(directory, RemoveDirectoryA);
    for (const std::string& key : plan.registryKeys)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    return throughLinks;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!UserConfirms())
        return kExitDone;
    const std::string programPath = ProgramPath();
    const std::optional<std::string> log = ReadWholeFile(LogPathBeside(programPath));
    if (!log) {
        MessageBoxA(nullptr, "Failed to open log file", "Error", MB_OK);
        return kExitNoLog;
    }
    const std::string installFolder = programPath.substr(0, programPath.rfind('\\') + 1);
    const RemovalPlan plan = PlanRemoval(ReadUninstallLog(*log));
    const std::size_t skipped =
        plan.skipped + RemoveListedItems(plan, SystemShortPath(installFolder).value_or(installFolder));
    if (skipped > 0)
        MessageBoxA(nullptr, SkippedRecordsText(skipped).c_str(), "Uninstall", MB_OK);
    return kExitDone;
}
