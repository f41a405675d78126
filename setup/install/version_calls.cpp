#include "setup/install/version_calls.h"

#include <algorithm>
#include <vector>

#include "common/find_files.h"
#include "setup/system/system_libraries.h"

std::optional<VersionInfo> ReadVersionInfo(const std::string& path)
{
    DWORD handle = 0;
    const DWORD size = sys::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<char> data(size);
    if (!sys::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!sys::VerQueryValueA(data.data(), root, reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed)
        return std::nullopt;
    VersionInfo info;
    info.fileVersionHigh = fixed->dwFileVersionMS;
    info.fileVersionLow = fixed->dwFileVersionLS;
    WORD* translation = nullptr;
    char translationBlock[] = "\\VarFileInfo\\Translation";
    if (sys::VerQueryValueA(data.data(), translationBlock, reinterpret_cast<void**>(&translation), &length) &&
        translation && length >= 2 * sizeof(WORD)) {
        info.hasTranslation = true;
        info.language = translation[0];
        info.codePage = translation[1];
        char name[256] = {};
        if (GetLocaleInfoA(MAKELCID(info.language, SORT_DEFAULT), LOCALE_SENGLANGUAGE, name, sizeof name))
            info.languageName = name;
    }
    return info;
}

namespace {

// Whether a file was made at or after `started`. File systems keep times
// as coarse as 2 seconds.
bool MadeSince(const WIN32_FIND_DATAA& file, const InstallStart& started)
{
    const auto value = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    constexpr uint64_t kTwoSeconds = 2 * 10000000ull;
    const uint64_t made = std::max(value(file.ftCreationTime), value(file.ftLastWriteTime));
    return made + kTwoSeconds >= value(started.time);
}

}  // namespace

InstallStart::InstallStart()
{
    GetSystemTimeAsFileTime(&time);
}

void DiscardInstallTemporaries(const std::string& directory, const char* reported, const InstallStart& started)
{
    if (reported[0] != '\0')
        DeleteFileA((directory + "\\" + reported).c_str());
    // The version-installation functions name their copies VERxxxx.TMP.
    ForEachMatch(directory + "\\ver*.tmp", [&](const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && MadeSince(found, started))
            DeleteFileA((directory + "\\" + found.cFileName).c_str());
    });
}
