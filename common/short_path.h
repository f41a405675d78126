// The system's short (8.3) form of a path.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The 8.3 form of an existing path as GetShortPathNameA gives it, whole
// however long; nothing when the path does not exist.
inline std::optional<std::string> SystemShortPath(const std::string& path)
{
    std::string shortPath(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetShortPathNameA(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
        if (length == 0)
            return std::nullopt;
        const bool fits = length < shortPath.size();
        shortPath.resize(length);
        if (fits)
            return shortPath;
    }
}
