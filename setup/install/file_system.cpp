#include "setup/install/file_system.h"

#include <windows.h>

#include <map>

#include "common/find_files.h"
#include "common/system_paths.h"
#include "setup/install/text/install_paths.h"

namespace {

bool IsDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the file name is its own short name everywhere: capitals, digits,
// "_" and "-" only, at most 8 of them, a dot and at most 3 more. The system
// keeps no other short name for such a file.
bool IsOwnShortName(const std::string& name)
{
    const std::size_t dot = name.find('.');
    const std::size_t base = dot == std::string::npos ? name.size() : dot;
    if (base == 0 || base > 8 || (dot != std::string::npos && (name.size() - dot - 1 > 3 || dot + 1 == name.size())))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i != dot && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9') && c != '_' && c != '-')
            return false;
    }
    return true;
}

}  // namespace

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

void EnsureWindowsTempDirectory()
{
    std::vector<std::string> created;
    EnsureDirectory(WindowsDirectory().path + "\\TEMP", created);
}

std::optional<std::string> ShortPath(const std::string& path)
{
    // The system looks up every component of the path for each call, which
    // costs as much as installing a small file. Files of one directory share
    // its short form, which does not change while setup runs: it is looked up
    // once, and each file then only for its own name, as the system would,
    // unless the name is its own short name.
    static std::map<std::string, std::string> shortDirectories;
    const std::string directory = ParentDirectory(path);
    const std::string name = LastPathComponent(path);
    if (directory.empty() || name.empty() || name == "." || name == ".." ||
        name.find_first_of("*?") != std::string::npos)
        return SystemShortPath(path);
    auto known = shortDirectories.find(directory);
    if (known == shortDirectories.end()) {
        const std::optional<std::string> shortDirectory = SystemShortPath(directory);
        if (!shortDirectory)
            return std::nullopt;
        known = shortDirectories.emplace(directory, *shortDirectory).first;
    }
    const std::string separator = known->second.back() == '\\' ? "" : "\\";
    if (IsOwnShortName(name))
        return known->second + separator + name;
    const std::optional<WIN32_FIND_DATAA> found = FindEntry(path);
    if (!found)
        return std::nullopt;
    return known->second + separator + (found->cAlternateFileName[0] ? found->cAlternateFileName : found->cFileName);
}

