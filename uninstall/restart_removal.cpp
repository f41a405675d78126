#include "uninstall/restart_removal.h"

#include <string>
#include <vector>

#include "common/system_paths.h"
#include "common/wininit.h"
#include "uninstall/files_in_use.h"
#include "uninstall/text/log_reader.h"

namespace {

// What this run has scheduled, in order (files before the folders that
// hold them), in short form: the log names files by their short paths and
// folders by their long ones.
std::vector<std::string> gScheduled;

bool ScheduleRemoval(const std::string& path)
{
    const bool scheduled = DeleteFileAtRestart(path);
    if (scheduled)
        gScheduled.push_back(ShortForm(path));
    return scheduled;
}

bool HoldsScheduled(const std::string& folder)
{
    std::string prefix = ShortForm(folder);
    if (prefix.empty() || prefix.back() != '\\')
        prefix += '\\';
    for (const std::string& path : gScheduled)
        if (path.size() > prefix.size() && lstrcmpiA(path.substr(0, prefix.size()).c_str(), prefix.c_str()) == 0)
            return true;
    return false;
}

}  // namespace

BOOL WINAPI DeleteFileNowOrAtRestart(LPCSTR path)
{
    if (DeleteFileA(path))
        return TRUE;
    // Unskein itself runs, and stays.
    return IsInUse(path) && !SameProgramPath(ShortForm(path), ShortForm(ProgramPath().path)) && ScheduleRemoval(path);
}

BOOL WINAPI RemoveDirectoryNowOrAtRestart(LPCSTR path)
{
    if (RemoveDirectoryA(path))
        return TRUE;
    return HoldsScheduled(path) && ScheduleRemoval(path);
}

bool RemovalAwaitsRestart()
{
    return !gScheduled.empty();
}
