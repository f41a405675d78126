#include "common/wininit.h"

#include <windows.h>

#include <optional>

#include "common/handles.h"
#include "common/system_paths.h"
#include "common/whole_file.h"

namespace {

std::string WininitPath()
{
    return WindowsDirectory().path + "\\Wininit.ini";
}

}  // namespace

bool ReadWininit(IniFile& wininit)
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
    wininit.Parse(*bytes);
    return true;
}

bool WriteWininit(const IniFile& wininit)
{
    return ReplaceWholeFile(WininitPath(), wininit.Text());
}

bool DeleteFileAtRestart(const std::string& path)
{
    if (IsWindowsNt())
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    IniFile wininit;
    if (!ReadWininit(wininit))
        return false;
    // Wininit deletes what it "renames" to NUL; it reads short paths only.
    wininit["rename"].Add("NUL", SystemShortPath(path).value_or(path));
    return WriteWininit(wininit);
}
