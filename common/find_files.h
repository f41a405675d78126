// The system's directory search.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Calls `visit` with every match of `pattern` (a path whose last component
// may hold * and ?), in the file system's order, "." and ".." included.
template <typename Visit>
void ForEachMatch(const std::string& pattern, Visit visit)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        visit(static_cast<const WIN32_FIND_DATAA&>(found));
    while (FindNextFileA(search, &found));
    FindClose(search);
}

// The directory entry of an existing path; nothing when there is none.
inline std::optional<WIN32_FIND_DATAA> FindEntry(const std::string& path)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(search);
    return found;
}
