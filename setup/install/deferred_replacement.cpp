#include "setup/install/deferred_replacement.h"

#include <windows.h>

#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/text/ini_file.h"
#include "setup/install/text/install_paths.h"

namespace {

// Copies `sourcePath` to the first temporary name, or to the second when
// that fails; the path used, or nothing.
std::optional<std::string> CopyToTemporaryName(const std::string& sourcePath, const std::string& sourceName)
{
    EnsureWindowsTempDirectory();
    const std::string first = DeferredCopyPath(WindowsDirectory(), sourceName);
    if (CopyFileA(sourcePath.c_str(), first.c_str(), FALSE))
        return first;
    const std::string second = SecondDeferredCopyPath(first);
    if (CopyFileA(sourcePath.c_str(), second.c_str(), FALSE))
        return second;
    return std::nullopt;
}

// The name under which Windows 95, 98 and ME know the file to be replaced:
// its real short path, since the file exists (it is in use).
std::string RenameKey(const std::string& destination)
{
    return ShortPath(destination).value_or(AliasRenameKey(destination));
}

// Adds or replaces our line in the section "rename" and keeps every other
// line. An unreadable file is left alone rather than overwritten with our
// line only, which would drop other programs' pending renames.
void AddWininitRename(const std::string& key, const std::string& temporaryPath)
{
    const std::string path = WindowsDirectory() + "\\Wininit.ini";
    {
        // Create the file if it is missing, so that loading it succeeds.
        FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return;
    IniFile wininit;
    wininit.Parse(*bytes);
    wininit["rename"][key] = temporaryPath;
    WriteWholeFile(path, wininit.Text());
}

DWORD PlatformId()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId;
}

}  // namespace

std::optional<VersionInfo> ReadVersionInfo(const std::string& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(data.data(), root, reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed)
        return std::nullopt;
    VersionInfo info;
    info.fileVersionHigh = fixed->dwFileVersionMS;
    info.fileVersionLow = fixed->dwFileVersionLS;
    WORD* translation = nullptr;
    char translationBlock[] = "\\VarFileInfo\\Translation";
    if (VerQueryValueA(data.data(), translationBlock, reinterpret_cast<void**>(&translation), &length) &&
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

int ReplaceFileAtRestart(const std::string& sourcePath, const std::string& destination,
                         const std::string& sourceName, Prompter& prompter)
{
    const std::optional<VersionInfo> source = ReadVersionInfo(sourcePath);
    const std::optional<VersionInfo> installed = ReadVersionInfo(destination);
    if (!source || !installed)
        return 1;
    // An older file never replaces a newer one; build numbers do not count.
    if (source->fileVersionHigh < installed->fileVersionHigh)
        return 0;
    const std::optional<std::string> temporaryPath = CopyToTemporaryName(sourcePath, sourceName);
    if (!temporaryPath) {
        Inform(prompter, "Failed to copy file", "Error");
        return 0;
    }
    switch (PlatformId()) {
    case VER_PLATFORM_WIN32_NT:
        MoveFileExA(temporaryPath->c_str(), destination.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        AddWininitRename(RenameKey(destination), *temporaryPath);
        break;
    default:
        Inform(prompter, "Unsupported operating system", "Error");
        break;
    }
    return 0;
}
