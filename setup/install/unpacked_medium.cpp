#include "setup/install/unpacked_medium.h"

#include <windows.h>

#include "common/unpacked_medium.h"
#include "setup/install/folder_rights.h"
#include "setup/install/install_state.h"
#include "setup/system/system_libraries.h"

namespace {

// Without "." and ".." parts and a trailing backslash; empty when the path
// does not fit the system's calls.
std::string FullPath(const std::string& path)
{
    std::string full(MAX_PATH, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, &full[0], nullptr);
    if (length == 0 || length >= MAX_PATH)
        return "";
    full.resize(length);
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    return full;
}

}  // namespace

std::string TakeUnpackedMedium(const std::string& startFolder)
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kUnpackedMediumVariable, folder, MAX_PATH);
    SetEnvironmentVariableA(kUnpackedMediumVariable, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return "";
    // A word inherited by a setup that runs from anywhere else is not meant for it.
    const std::string medium = FullPath(folder);
    return !medium.empty() && lstrcmpiA(medium.c_str(), FullPath(startFolder).c_str()) == 0 ? medium : "";
}

bool IsInUnpackedMedium(const std::string& sourcePath)
{
    const std::string& medium = gInstall.unpackedMedium;
    if (medium.empty())
        return false;
    const std::string source = FullPath(sourcePath);
    return source.size() > medium.size() && source[medium.size()] == '\\' &&
           lstrcmpiA(source.substr(0, medium.size()).c_str(), medium.c_str()) == 0;
}

bool LinkIntoPlace(const std::string& sourcePath, const std::string& destination)
{
    if (!sys::CreateHardLinkA(destination.c_str(), sourcePath.c_str(), nullptr))
        return false;
    if (TakeFolderRights(destination))
        return true;
    DeleteFileA(destination.c_str());
    return false;
}
