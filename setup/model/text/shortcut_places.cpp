#include "setup/model/text/shortcut_places.h"

#include "setup/model/text/records.h"

namespace {

// In the order of ShortcutPlace.
const std::vector<std::string> kPlaceWords = {"GROUP", "DESKTOP", "STARTMENU", "STARTUP", "QUICKLAUNCH", "SENDTO"};

// Drive letters and the schemes of web addresses are ASCII letters; the C
// library's test would be one more import for setup.
bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

ShortcutPlace PlaceOf(const std::string& place)
{
    for (std::size_t i = 0; i < kPlaceWords.size(); ++i)
        if (place == kPlaceWords[i])
            return static_cast<ShortcutPlace>(i);
    return !place.empty() && place.back() == '\\' ? ShortcutPlace::kFolder : ShortcutPlace::kUnknown;
}

const std::vector<std::string>& ShortcutPlaceWords()
{
    return kPlaceWords;
}

const std::vector<std::string>& FinishActionKinds()
{
    static const std::vector<std::string> kinds = {"RUN", "OPEN"};
    return kinds;
}

bool IsWebAddress(const std::string& target)
{
    if (target.compare(0, 7, "mailto:") == 0)
        return true;
    const std::size_t colon = target.find("://");
    if (colon == std::string::npos || colon < 2)  // "C://" is a drive
        return false;
    for (std::size_t i = 0; i < colon; ++i)
        if (!IsLetter(target[i]))
            return false;
    return true;
}

bool IsAbsolutePath(const std::string& path)
{
    if (path.compare(0, 2, "\\\\") == 0)
        return true;
    return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

IconLocation SplitIconLocation(const std::string& icon)
{
    const std::size_t comma = icon.rfind(',');
    if (comma == std::string::npos)
        return {icon, 0};
    return {icon.substr(0, comma), ScriptNumber(icon.substr(comma + 1))};
}
