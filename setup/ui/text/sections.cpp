#include "setup/ui/text/sections.h"

uint64_t SumSectionSize(const std::vector<FileEntry>& files, const std::string& section,
                        const std::function<uint32_t(std::size_t)>& sizeOf)
{
    uint64_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (files[i].sectionName == section)
            total += sizeOf(i);
    return total;
}

std::string SectionSizeText(uint64_t bytes)
{
    return std::to_string(bytes);
}
