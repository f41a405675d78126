// The sizes the sections page shows.
#include <gtest/gtest.h>

#include "setup/ui/text/sections.h"

namespace {

FileEntry FileOf(const std::string& section)
{
    FileEntry entry;
    entry.sectionName = section;
    return entry;
}

}  // namespace

TEST(SectionSize, SumsTheEntriesOfTheSectionByExactName)
{
    const std::vector<FileEntry> files = {FileOf("Main"), FileOf("main"), FileOf("Main"), FileOf("Main ")};
    std::vector<size_t> measured;
    const uint64_t total = SumSectionSize(files, "Main", [&](size_t index) {
        measured.push_back(index);
        return static_cast<uint32_t>(10 * (index + 1));
    });
    EXPECT_EQ(total, 10u + 30u);
    EXPECT_EQ(measured, (std::vector<size_t>{0, 2}));  // in list order, others not measured
    EXPECT_EQ(SumSectionSize(files, "None", [](size_t) { return 1u; }), 0u);
}

TEST(SectionSize, SectionsOf2GBAndMoreShowPositiveAndDoNotWrap)
{
    const std::vector<FileEntry> files = {FileOf("Big"), FileOf("Big"), FileOf("Big")};
    auto sizes = [](size_t index) { return index == 2 ? 5u : 0x80000000u; };
    EXPECT_EQ(SectionSizeText(SumSectionSize({files[0]}, "Big", sizes)), "2147483648");
    EXPECT_EQ(SectionSizeText(SumSectionSize(files, "Big", sizes)), "4294967301");
    EXPECT_EQ(SectionSizeText(0), "0");
}
