#include "common/shared_counts.h"

std::optional<DWORD> ReadSharedCount(HKEY counts, const std::string& path)
{
    DWORD count = 0;
    DWORD size = sizeof count;
    DWORD type = 0;
    if (RegQueryValueExA(counts, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof count)
        return std::nullopt;
    return count;
}

bool WriteSharedCount(HKEY counts, const std::string& path, DWORD count)
{
    return RegSetValueExA(counts, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                          sizeof count) == ERROR_SUCCESS;
}
