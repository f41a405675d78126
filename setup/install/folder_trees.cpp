#include "setup/install/folder_trees.h"

#include <windows.h>

#include <vector>

#include "common/find_files.h"
#include "common/windows64.h"
#include "setup/install/file_system.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/uninstall_log.h"
#include "setup/model/text/variables.h"

namespace {

// Each folder's entries, then its subfolders', so that a folder comes
// before the folders in it. A path too long for the search ends the descent.
void WalkFolder(const std::string& folder, const std::string& below, const std::string& pattern, FoundTree& tree)
{
    std::vector<std::string> subfolders;
    ForEachMatch(folder + "\\*", [&](const WIN32_FIND_DATAA& found) {
        const std::string name = found.cFileName;
        if (name.empty() || name[0] == '.')
            return;
        const std::string path = below.empty() ? name : below + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree.folders.push_back(path);
            subfolders.push_back(name);
        } else if (MatchesSearchPattern(pattern, name)) {
            tree.files.push_back(path);
        }
    });
    for (const std::string& name : subfolders)
        WalkFolder(folder + "\\" + name, below.empty() ? name : below + "\\" + name, pattern, tree);
}

// The path without the final backslashes, as a folder's path is logged
// (but a drive's root).
std::string WithoutFinalBackslash(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

}  // namespace

std::optional<FoundTree> FindFolderTree(const std::string& source, const std::string& pattern)
{
    if (std::optional<FoundTree> packaged = FindPackagedTree(source, pattern))
        return packaged;
    const std::string top = WithoutFinalBackslash(source);
    const std::optional<WIN32_FIND_DATAA> entry = FindEntry(top);
    if (!entry || !(entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FoundTree tree;
    WalkFolder(top, "", pattern, tree);
    return tree;
}

void MakeSectionFolders(const std::string& sectionName, Prompter& prompter)
{
    const FileRedirectionOff redirection(IsInstallation64());
    for (const FolderEntry& folder : gRecords.folders) {
        if (folder.sectionName != sectionName)
            continue;
        std::string path = folder.destinationPath;
        ExpandVariables(path);
        CollapseBackslashes(path);
        path = WithoutFinalBackslash(path);
        std::vector<std::string> created;
        if (EnsureDirectory(path, created) < 0)
            Inform(prompter, "Could not create the directory " + path + ".", "Setup");
        LogCreatedDirectories(created);
    }
}
