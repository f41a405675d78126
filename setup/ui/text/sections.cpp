#include "setup/ui/text/sections.h"

#include <algorithm>

uint64_t SumSectionSize(const std::vector<FileEntry>& files, const std::string& section,
                        const std::function<uint32_t(std::size_t)>& sizeOf)
{
    uint64_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i].sectionName == section)
            total += sizeOf(i);
    return total;
}

bool ShowsSectionSize(const InstallationRecords& records, const std::string& section)
{
    const auto inSection = [&](const auto& entry) { return entry.sectionName == section; };
    const bool files = std::any_of(records.files.begin(), records.files.end(), inSection);
    const bool others = std::any_of(records.shortcuts.begin(), records.shortcuts.end(), inSection) ||
                        std::any_of(records.registryEntries.begin(), records.registryEntries.end(), inSection) ||
                        std::any_of(records.iniEntries.begin(), records.iniEntries.end(), inSection);
    return files || !others;
}

std::string SectionSizeText(uint64_t bytes)
{
    return std::to_string(bytes);
}
