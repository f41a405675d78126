#include "setup/install/obsolete_files.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/find_files.h"
#include "common/system_paths.h"
#include "common/wininit.h"
#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "common/text/obsolete_files.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

// Each folder as given and in its short form, so that neither spelling of
// a system folder gets past the rules.
std::vector<std::string> BothForms(std::vector<std::string> folders)
{
    const std::size_t given = folders.size();
    for (std::size_t i = 0; i < given; ++i)
        if (const std::optional<std::string> shortForm = ShortPath(folders[i]))
            folders.push_back(*shortForm);
    return folders;
}

GuardedFolders SystemFolders()
{
    return {BothForms({WindowsDirectory().path, SystemDirectory().path}), BothForms({gInstall.programFilesFolder})};
}

// The pattern as the rules see it: its folder also in its short form, since
// a short spelling names the same folder.
bool PassesRules(const ObsoletePattern& pattern, const GuardedFolders& guarded)
{
    const std::optional<std::string> shortFolder = ShortPath(pattern.folder);
    return !shortFolder || CheckObsoletePattern(*shortFolder + "\\" + pattern.name, guarded);
}

void DeleteObsoleteFile(const std::string& path)
{
    if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return;
    DeleteFileAtRestart(path);
}

}  // namespace

void DeleteObsoleteFiles()
{
    if (gRecords.obsoleteFiles.empty())
        return;
    const GuardedFolders guarded = SystemFolders();
    for (std::string pattern : gRecords.obsoleteFiles) {
        ExpandVariables(pattern);
        const std::optional<ObsoletePattern> checked = CheckObsoletePattern(pattern, guarded);
        if (!checked || !PassesRules(*checked, guarded))
            continue;
        std::vector<std::string> matches;
        ForEachMatch(pattern, [&](const WIN32_FIND_DATAA& found) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                matches.push_back(checked->folder + found.cFileName);
        });
        for (const std::string& path : matches)
            DeleteObsoleteFile(path);
    }
}
