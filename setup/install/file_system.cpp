#include "setup/install/file_system.h"

#include <windows.h>

#include "setup/install/text/install_paths.h"

namespace {

bool IsDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int EnsureDirectory(const std::string& path, std::vector<std::string>& created)
{
    if (IsDirectory(path))
        return 0;
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        if (GetLastError() != ERROR_PATH_NOT_FOUND)
            return -1;
        const std::string parent = ParentDirectory(path);
        if (parent.empty() || EnsureDirectory(parent, created) < 0 || !CreateDirectoryA(path.c_str(), nullptr))
            return -1;
    }
    created.push_back(path);
    return 1;
}

std::string WindowsDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

void EnsureWindowsTempDirectory()
{
    std::vector<std::string> created;
    EnsureDirectory(WindowsDirectory() + "\\TEMP", created);
}

std::optional<std::string> ShortPath(const std::string& path)
{
    const DWORD needed = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::string shortPath(needed, '\0');
    const DWORD length = GetShortPathNameA(path.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    shortPath.resize(length);
    return shortPath;
}
