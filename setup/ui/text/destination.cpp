#include "setup/ui/text/destination.h"

#include "setup/model/text/folder_names.h"

std::string FreeSpaceText(uint64_t freeBytes)
{
    return std::to_string(static_cast<int64_t>(freeBytes) / 1024) + " kb";
}

int32_t NextGateForPath(const std::string& path)
{
    return path.size() >= 3 ? 1 : 0;
}

std::optional<std::string> ChosenInstallPath(const std::string& folder, const std::string& appName)
{
    std::string path = folder + "\\" + FolderNameFor(appName) + "\\";
    if (path.size() > kMaxInstallPath)
        return std::nullopt;
    return path;
}

bool IsFullPath(const std::string& path)
{
    const char drive = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);  // lower case
    const bool driveRoot = path.size() >= 3 && drive >= 'a' && drive <= 'z' && path[1] == ':' && path[2] == '\\';
    const bool network = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    return driveRoot || network;
}
