#include "setup/install/text/install_paths.h"

void CollapseBackslashes(std::string& text)
{
    std::size_t position = text.compare(0, 2, "\\\\") == 0 ? 2 : 0;
    for (; position + 1 < text.size(); ++position)
        if (text[position] == '\\' && text[position + 1] == '\\')
            text.erase(position + 1, 1);
}

bool TargetFits(const std::string& directory, const std::string& name)
{
    constexpr std::size_t kMaxPath = 260;
    constexpr std::size_t kTemporaryNameRoom = 14;
    return directory.size() + 1 + name.size() < kMaxPath && directory.size() + kTemporaryNameRoom < kMaxPath;
}

std::string LastPathComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentDirectory(const std::string& path)
{
    std::size_t end = path.find_last_not_of('\\');
    if (end == std::string::npos)
        return "";
    const std::size_t slash = path.rfind('\\', end);
    if (slash == std::string::npos)
        return "";
    std::string parent = path.substr(0, slash);
    // "C:" alone names the drive's current directory, not its root.
    if (parent.empty() || parent.back() == ':')
        parent += '\\';
    return parent == path ? "" : parent;
}

void MakeShortAlias(std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find('.', nameStart);
    if (dot != std::string::npos)
        path.erase(dot);
    if (path.size() - nameStart > 8) {
        path.erase(nameStart + 6);
        path += "~1";
    }
}

std::string JoinedFileName(const std::string& destination)
{
    return LastPathComponent(destination) + ".ToInstall.TMP";
}

std::string NumberedName(const std::string& name, int number)
{
    if (number <= 1)
        return name;
    const std::size_t dot = name.rfind('.');
    const std::size_t at = dot == std::string::npos ? name.size() : dot;
    return name.substr(0, at) + "." + std::to_string(number) + name.substr(at);
}

std::string AliasRenameKey(const std::string& destination)
{
    const std::string name = LastPathComponent(destination);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot, 4);
    std::string key = destination;
    MakeShortAlias(key);
    return key + extension;
}

std::string DiskPromptText(int16_t disk)
{
    return "Please insert disk " + std::to_string(disk) +
           " in order to continue setup. If you inserted correct disk and this message appears again, "
           "setup script may be corrupt.";
}
