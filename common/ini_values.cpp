#include "common/ini_values.h"

#include <windows.h>

#include <vector>

std::optional<std::string> ReadIniValue(const std::string& file, const std::string& section, const std::string& key)
{
    // The system gives the default for a missing key; no value holds a
    // line break, so this one tells a missing key from an empty value.
    static const char kMissing[] = "\n";
    for (DWORD size = 256;; size *= 2) {
        std::vector<char> value(size);
        const DWORD length =
            GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, value.data(), size, file.c_str());
        if (length + 1 >= size && size < 0x10000)
            continue;  // cut short: read again with more room
        const std::string read(value.data(), length);
        if (read == kMissing)
            return std::nullopt;
        return read;
    }
}
