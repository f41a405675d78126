#include "uninstall/folder_reach.h"

#include <windows.h>

#include <optional>

#include "common/system_paths.h"
#include "uninstall/text/path_rules.h"

namespace {

bool IsLinkedFolder(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

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
