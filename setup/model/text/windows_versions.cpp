#include "setup/model/text/windows_versions.h"

#include <cctype>

namespace {

bool ReadNumber(const std::string& text, size_t& at, int& number)
{
    const size_t start = at;
    number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 4)
        number = number * 10 + (text[at++] - '0');
    return at > start && (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at])));
}

struct VersionName {
    WindowsFamily family;
    WindowsVersion version;
    const char* name;
};

const VersionName kNames[] = {
    {WindowsFamily::k9x, {4, 0}, "Windows 95"},      {WindowsFamily::k9x, {4, 10}, "Windows 98"},
    {WindowsFamily::k9x, {4, 90}, "Windows ME"},     {WindowsFamily::kNt, {3, 51}, "Windows NT 3.51"},
    {WindowsFamily::kNt, {4, 0}, "Windows NT 4.0"},  {WindowsFamily::kNt, {5, 0}, "Windows 2000"},
    {WindowsFamily::kNt, {5, 1}, "Windows XP"},      {WindowsFamily::kNt, {5, 2}, "Windows Server 2003"},
    {WindowsFamily::kNt, {6, 0}, "Windows Vista"},   {WindowsFamily::kNt, {6, 1}, "Windows 7"},
    {WindowsFamily::kNt, {6, 2}, "Windows 8"},       {WindowsFamily::kNt, {6, 3}, "Windows 8.1"},
    {WindowsFamily::kNt, {10, 0}, "Windows 10"},
};

std::string NameOf(WindowsFamily family, WindowsVersion version)
{
    if (version.major == 0)  // no limit: the family's first
        return family == WindowsFamily::k9x ? "Windows 95" : "Windows NT";
    for (const VersionName& known : kNames)
        if (known.family == family && !(known.version < version) && !(version < known.version))
            return known.name;
    return std::string(family == WindowsFamily::k9x ? "Windows 95 family version " : "Windows NT family version ") +
           std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace

std::optional<WindowsVersion> ReadWindowsVersion(const std::string& text)
{
    WindowsVersion version;
    size_t at = 0;
    if (!ReadNumber(text, at, version.major))
        return std::nullopt;
    if (at == text.size())
        return version;
    if (text[at] != '.' || !ReadNumber(text, ++at, version.minor) || at != text.size())
        return std::nullopt;
    return version;
}

WindowsRequirement ReadWindowsRequirement(const std::string& windows9x, const std::string& windowsNt)
{
    // Version 0.1 is below every release: no limit.
    const WindowsVersion none{0, 1};
    return {ReadWindowsVersion(windows9x).value_or(none), ReadWindowsVersion(windowsNt).value_or(none)};
}

bool IsSupported(const WindowsRequirement& requirement, WindowsFamily family, WindowsVersion running)
{
    const WindowsVersion& lowest = family == WindowsFamily::k9x ? requirement.lowest9x : requirement.lowestNt;
    return !lowest.Excludes() && !(running < lowest);
}

// Windows ME ended its family, so a 9x minimum needs no "or later".
std::string UnsupportedWindowsText(const WindowsRequirement& requirement)
{
    std::string needed;
    if (!requirement.lowest9x.Excludes())
        needed = NameOf(WindowsFamily::k9x, requirement.lowest9x) +
                 (requirement.lowest9x < WindowsVersion{4, 90} ? " or later" : "");
    if (!requirement.lowestNt.Excludes())
        needed += (needed.empty() ? "" : ", or ") + NameOf(WindowsFamily::kNt, requirement.lowestNt) + " or later";
    if (needed.empty())
        return "This program runs on no version of Windows. Setup cannot be continued.";
    return "This program needs " + needed + ". Setup cannot be continued.";
}
