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


// Replaces the existing file's content with `bytes` so that it is either
// wholly old or wholly new: a full disk or a file that others hold open
// leaves it as it was. False when it was left so.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes)
{
    const std::string directory = path.substr(0, path.rfind('\\') + 1);
    // GetTempFileNameA adds a name of up to 12 characters.
    char written[MAX_PATH] = {};
    char previous[MAX_PATH] = {};
    if (directory.size() + 13 >= MAX_PATH || !GetTempFileNameA(directory.c_str(), "tsl", 0, written))
        return false;
    if (!WriteWholeFile(written, bytes) || !GetTempFileNameA(directory.c_str(), "tsl", 0, previous)) {
        DeleteFileA(written);
        return false;
    }
    // Windows 95, 98 and ME cannot move over an existing file: the old one
    // steps aside first and comes back if the new one cannot take its place.
    DeleteFileA(previous);
    if (!MoveFileA(path.c_str(), previous)) {
        DeleteFileA(written);
        return false;
    }
    if (!MoveFileA(written, path.c_str())) {
        MoveFileA(previous, path.c_str());
        DeleteFileA(written);
        return false;
    }
    DeleteFileA(previous);
    return true;
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
