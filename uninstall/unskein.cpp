// Unskein.exe: asks, reads the uninstall log beside itself and removes what
// it lists. No window of its own; two message boxes are all it shows.
#include <windows.h>

#include <optional>
#include <string>

#include "common/whole_file.h"
#include "uninstall/text/log_reader.h"

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

void RemoveListedItems(const RemovalPlan& plan)
{
    // Failures (already gone, in use, not empty) are expected and skipped.
    for (const std::string& file : plan.files)
        DeleteFileA(file.c_str());
    for (const std::string& directory : plan.directories)
        RemoveDirectoryA(directory.c_str());
    for (const std::string& key : plan.registryKeys)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!UserConfirms())
        return kExitDone;
    const std::optional<std::string> log = ReadWholeFile(LogPathBeside(ProgramPath()));
    if (!log) {
        MessageBoxA(nullptr, "Failed to open log file", "Error", MB_OK);
        return kExitNoLog;
    }
    RemoveListedItems(PlanRemoval(ReadUninstallLog(*log)));
    return kExitDone;
}
