// Installed sizes told by a source's first bytes, and when the system has
// to be asked instead.
#include <gtest/gtest.h>

#include <string>

#include "setup/install/text/source_header.h"

namespace {

std::optional<uint32_t> SizeOf(const std::string& start, uint64_t fileSize)
{
    return InstalledSizeFromHeader(reinterpret_cast<const unsigned char*>(start.data()), start.size(), fileSize);
}

const std::string kSzdd("SZDD\x88\xF0\x27\x33", 8);

}  // namespace

TEST(SourceHeader, PlainFilesCountTheirSizeOnDisk)
{
    EXPECT_EQ(SizeOf("MZ\x90\0\3\0\0\0\4\0\0\0\xFF\xFF", 52000), 52000u);
    EXPECT_EQ(SizeOf("ab", 2), 2u);
    EXPECT_EQ(SizeOf("SZDE and more", 13), 13u);
    EXPECT_EQ(SizeOf("plain text...!", 0xFFFFFFFFull), 0xFFFFFFFFu);
    EXPECT_FALSE(SizeOf("plain text...!", 0x100000000ull));
    EXPECT_FALSE(LooksCompressed(reinterpret_cast<const unsigned char*>("MZ\x90"), 3));
}

TEST(SourceHeader, SzddMethodATellsTheExpandedSizeLittleEndian)
{
    const std::string header = kSzdd + std::string("A_\x10\x32\x54\x76", 6);
    EXPECT_EQ(SizeOf(header, 40), 0x76543210u);
    EXPECT_TRUE(LooksCompressed(reinterpret_cast<const unsigned char*>(header.data()), header.size()));
}

// Everything that is, or may be the start of, another compressed format or
// a damaged SZDD header goes to the system.
TEST(SourceHeader, OtherFormatsAndCutHeadersAreLeftToTheSystem)
{
    for (const std::string& start :
         {kSzdd + std::string("B_\x10\x32\x54\x76", 6), kSzdd + "A_\x10", std::string("SZDD"), std::string("SZ"),
          std::string("SZ \x88\xF0\x27\x33\xD1", 8), std::string("KWAJ\x88\xF0\x27\xD1", 8),
          std::string("MSCF\0\0\0\0", 8), std::string("")}) {
        EXPECT_FALSE(SizeOf(start, 100)) << start;
        EXPECT_TRUE(LooksCompressed(reinterpret_cast<const unsigned char*>(start.data()), start.size())) << start;
    }
}
