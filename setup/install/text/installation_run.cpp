#include "setup/install/text/installation_run.h"

#include <algorithm>

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

bool IsFirstPiece(const std::vector<FileEntry>& files, std::size_t index)
{
    for (std::size_t earlier = index; earlier-- > 0;) {
        const FileEntry& entry = files[earlier];
        if (entry.split && entry.destinationPath == files[index].destinationPath)
            return entry.lastPiece != 0;
    }
    return true;
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

std::string UninstallCommand(const std::string& installDirectory)
{
    const bool endsWithSeparator = !installDirectory.empty() && installDirectory.back() == '\\';
    return installDirectory + (endsWithSeparator ? "" : "\\") + "Unskein.exe";
}
