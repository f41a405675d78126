#include "common/registry_values.h"

std::optional<std::string> ReadTextValue(HKEY key, const char* name)
{
    char value[2 * MAX_PATH];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
}
