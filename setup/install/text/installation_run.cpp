#include "setup/install/text/installation_run.h"

#include <algorithm>

#include "common/text/path_rules.h"
#include "setup/install/text/install_paths.h"
#include "setup/model/text/variables.h"

bool IsSectionChosen(const SectionEntry& section)
{
    return section.mandatory != 0 || section.selected != 0;
}

std::size_t CountChosenSections(const std::vector<SectionEntry>& sections)
{
    return static_cast<std::size_t>(std::count_if(sections.begin(), sections.end(), IsSectionChosen));
}

std::size_t CountSectionFiles(const std::vector<FileEntry>& files, const std::string& sectionName)
{
    return static_cast<std::size_t>(std::count_if(
        files.begin(), files.end(), [&](const FileEntry& file) { return file.sectionName == sectionName; }));
}

std::size_t FirstPieceIndex(const std::vector<FileEntry>& files, std::size_t index)
{
    std::size_t first = index;
    for (std::size_t earlier = index; earlier-- > 0;) {
        const FileEntry& entry = files[earlier];
        if (!entry.split || entry.destinationPath != files[index].destinationPath)
            continue;
        if (entry.lastPiece != 0)
            break;
        first = earlier;
    }
    return first;
}

bool IsFirstPiece(const std::vector<FileEntry>& files, std::size_t index)
{
    return FirstPieceIndex(files, index) == index;
}

std::vector<std::string> PathsBelowInstallFolder(const std::vector<FileEntry>& files)
{
    std::vector<std::string> below = {"\\Uninstall.log"};
    for (const FileEntry& file : files) {
        if (file.shared || file.destinationExpanded || file.destinationPath.compare(0, 4, "[DP]") != 0)
            continue;
        std::string path = file.destinationPath.substr(4);
        ExpandVariables(path);
        below.push_back(path);
    }
    return below;
}

std::optional<std::string> PathThatDoesNotFit(const std::string& installPath, const std::vector<std::string>& below)
{
    std::optional<std::string> longest;
    for (const std::string& path : below) {
        std::string full = installPath + path;
        CollapseBackslashes(full);
        const std::size_t slash = full.rfind('\\');
        if (!TargetFits(full.substr(0, slash), full.substr(slash + 1)) && (!longest || full.size() > longest->size()))
            longest = full;
    }
    return longest;
}

uint16_t ProgressMaximum(std::size_t count)
{
    return static_cast<uint16_t>(count - 1);
}

bool IsGroupInProgramsFolder(const std::string& group)
{
    return group.find(':') == std::string::npos;
}

std::string GroupInProgramsFolder(const std::string& programsFolder, const std::string& group)
{
    return programsFolder + "\\" + group;
}

std::string ShortcutLinkPath(const std::string& group, const std::string& shortcutName)
{
    std::string link = group;
    if (!link.empty() && link.back() == '\\')
        link.pop_back();
    return link + "\\" + shortcutName + ".lnk";
}

std::string UninstallKeyPath(const std::string& appName)
{
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
}

std::string UninstallProgramPath(const std::string& installDirectory)
{
    const bool endsWithSeparator = !installDirectory.empty() && installDirectory.back() == '\\';
    return installDirectory + (endsWithSeparator ? "" : "\\") + "Unskein.exe";
}

std::string UninstallCommand(const std::string& installDirectory)
{
    return "\"" + UninstallProgramPath(installDirectory) + "\"";
}

std::string UninstallIconPath(const std::string& firstShortcutTarget, const std::string& installDirectory)
{
    const std::size_t dot = firstShortcutTarget.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : firstShortcutTarget.substr(dot);
    return SameIgnoringAsciiCase(extension, ".exe") ? firstShortcutTarget : UninstallProgramPath(installDirectory);
}

uint32_t SizeInKilobytes(uint64_t bytes)
{
    return static_cast<uint32_t>(std::min<uint64_t>((bytes + 1023) / 1024, UINT32_MAX));
}

std::string InstallDateText(int year, int month, int day)
{
    const auto twoDigits = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return std::to_string(year) + twoDigits(month) + twoDigits(day);
}
