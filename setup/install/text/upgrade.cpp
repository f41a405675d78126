#include "setup/install/text/upgrade.h"

#include "common/text/path_rules.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number a part begins with, without leading zeros, as digits: so that
// numbers of any length compare without overflowing.
std::string PartNumber(const std::string& version, std::size_t& at)
{
    const std::size_t end = version.find('.', at);
    const std::string part = version.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? version.size() : end + 1;
    std::size_t digits = 0;
    while (digits < part.size() && IsDigit(part[digits]))
        ++digits;
    const std::size_t first = part.find_first_not_of('0');
    return first == std::string::npos || first >= digits ? "" : part.substr(first, digits - first);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && SameIgnoringAsciiCase(std::string_view(text).substr(text.size() - end.size()), end);
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b)
{
    std::size_t atA = 0, atB = 0;
    while (atA < a.size() || atB < b.size()) {
        const std::string partA = PartNumber(a, atA);
        const std::string partB = PartNumber(b, atB);
        if (partA.size() != partB.size())
            return partA.size() < partB.size() ? -1 : 1;
        if (const int order = partA.compare(partB))
            return order < 0 ? -1 : 1;
    }
    return 0;
}

std::optional<std::string> InstalledFolderOf(const std::string& uninstallString)
{
    const std::string program = UninstallProgramOf(uninstallString);
    if (!EndsWithIgnoringCase(program, "\\Unskein.exe") || !IsFullPlainPath(program))
        return std::nullopt;
    return program.substr(0, program.size() - std::string("Unskein.exe").size());
}

std::string OlderVersionQuestion(const std::string& appName, const std::string& installed, const std::string& ours)
{
    return "Version " + installed + " of " + appName + " is installed, which is newer than version " + ours +
           " that this setup installs. Do you want to replace it with the older version?";
}
