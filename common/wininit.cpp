#include "common/wininit.h"

#include <windows.h>

#include "common/handles.h"
#include "common/system_paths.h"
#include "common/text/ini_file.h"
#include "common/whole_file.h"

namespace {

std::string WininitPath()
{
    return WindowsDirectory().path + "\\Wininit.ini";
}

}  // namespace

std::optional<std::string> PendingWininitRename(const std::string& key)
{
    const std::optional<std::string> bytes = ReadWholeFile(WininitPath());
    if (!bytes)
        return std::nullopt;
    IniFile wininit;
    wininit.Parse(*bytes);
    const std::string* pending = wininit["rename"].Find(key);
    return pending ? std::optional<std::string>(*pending) : std::nullopt;
}

bool AddWininitRename(const std::string& key, const std::string& value)
{
    const std::string path = WininitPath();
    {
        // Create the file if it is missing, so that loading it succeeds.
        OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    IniFile wininit;
    wininit.Parse(*bytes);
    wininit["rename"].Add(key, value);
    return ReplaceWholeFile(path, wininit.Text());
}

bool DeleteFileAtRestart(const std::string& path)
{
    if (IsWindowsNt())
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    return AddWininitRename("NUL", ShortForm(path));
}
