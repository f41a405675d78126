#include "common/text/obsolete_files.h"

#include "common/text/path_rules.h"

std::optional<ObsoletePattern> CheckObsoletePattern(const std::string& pattern, const GuardedFolders& guarded)
{
    const std::size_t slash = pattern.find_last_of("\\/");
    if (slash == std::string::npos)
        return std::nullopt;
    ObsoletePattern checked{pattern.substr(0, slash + 1), pattern.substr(slash + 1)};
    // The name's wildcards stand in for plain letters while the path is checked.
    std::string plainName = checked.name;
    for (char& c : plainName)
        if (c == '*' || c == '?')
            c = 'x';
    if (plainName.empty() || !IsFullPlainPath(checked.folder + plainName) || IsRootFolder(checked.folder))
        return std::nullopt;
    for (const std::string& tree : guarded.trees)
        if (!tree.empty() && IsSameOrBelow(tree, checked.folder))
            return std::nullopt;
    for (const std::string& folder : guarded.folders)
        if (!folder.empty() && IsSameOrBelow(folder, checked.folder) && IsSameOrBelow(checked.folder, folder))
            return std::nullopt;
    return checked;
}
