// The package that a starter carries: found from the program's headers
// whether or not a signature follows it, and refused whole when any byte of
// it is changed or missing, or when a name would leave the folder.
#include <gtest/gtest.h>

#include "common/text/payload.h"
#include "tests/host/package_samples.h"

using namespace package_samples;

namespace {

const std::vector<payload::Entry> kFiles = {{"setup.exe", 5, 0}, {"Disk1\\Program\\Read me.tx_", 3, 0}};
const std::string kContents[] = {"setup", "doc"};

// The small program with a package of kFiles after its section.
std::string PackagedProgram(std::vector<payload::Entry> entries = kFiles)
{
    std::string data;
    for (size_t i = 0; i < entries.size() && i < 2; ++i) {
        entries[i].crc = payload::Crc32(0, kContents[i].data(), kContents[i].size());
        data += kContents[i];
    }
    const std::string head = Head(entries);
    return SmallProgram() + head + data + payload::End(head.size() + data.size() + payload::kEndSize);
}

}  // namespace

TEST(Package, IsFoundFromTheHeadersBeforeAndAfterSigning)
{
    EXPECT_EQ(payload::Crc32(0, "123456789", 9), 0xCBF43926u);
    // Eight bytes at a time, the rest one by one, in pieces of any length.
    const std::string text = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(payload::Crc32(0, text.data(), text.size()), 0x414FA339u);
    EXPECT_EQ(payload::Crc32(payload::Crc32(0, text.data(), 5), text.data() + 5, text.size() - 5), 0x414FA339u);
    std::string program = PackagedProgram();
    std::optional<payload::Package> package = CheckedPackage(program);
    ASSERT_TRUE(package);
    ASSERT_EQ(package->entries.size(), 2u);
    EXPECT_EQ(package->entries[1].name, "Disk1\\Program\\Read me.tx_");
    EXPECT_EQ(program.substr(package->dataOffset, 8), "setupdoc");

    // A signature: padding and the certificate table after the package,
    // named by the headers' certificate entry.
    const uint32_t tableAt = static_cast<uint32_t>(program.size() + 3);
    program += std::string(3, '\0') + std::string(600, 'C');
    for (int i = 0; i < 4; ++i) {
        program[0xD8 + i] = static_cast<char>(tableAt >> (8 * i));
        program[0xDC + i] = static_cast<char>(600 >> (8 * i));
    }
    package = CheckedPackage(program);
    ASSERT_TRUE(package);
    EXPECT_EQ(program.substr(package->dataOffset, 8), "setupdoc");

    // The starter that tesselpack takes loses such a signature and what follows its sections.
    EXPECT_EQ(payload::BareProgram(program), SmallProgram());
    EXPECT_FALSE(payload::BareProgram("MZ not a program"));
}

TEST(Package, AnyChangedOrMissingByteIsRefused)
{
    const std::string program = PackagedProgram();
    for (size_t at = SmallProgram().size(); at < program.size(); ++at) {
        std::string flipped = program;
        flipped[at] ^= 0x20;
        EXPECT_FALSE(CheckedPackage(flipped)) << "byte " << at << " changed";
        EXPECT_FALSE(CheckedPackage(program.substr(0, at))) << "cut at " << at;
    }
    // A package longer than the file, by its header.
    std::string longer = PackagedProgram({{"setup.exe", 5, 0}, {"doc", uint64_t{1} << 40, 0}});
    EXPECT_FALSE(CheckedPackage(longer));
    // A certificate table inside the package cuts it short.
    std::string cut = program;
    cut[0xD8] = static_cast<char>(0x10), cut[0xD9] = static_cast<char>(0x04), cut[0xDC] = 8;
    EXPECT_FALSE(CheckedPackage(cut));
}

TEST(Package, NamesThatWouldLeaveTheFolderAreRefused)
{
    for (const char* name : {"..\\setup.exe", "Disk1\\..\\..\\x", "C:\\x", "C:x", "\\x", "\\\\server\\share\\x",
                             "a/../x", "a\\\\b", "a\\", "CON", "nul.txt", "Disk1\\com1", "x.", "x ", "...",
                             "setup.exe:stream", "a\tb", ""})
        EXPECT_FALSE(CheckedPackage(PackagedProgram({{"setup.exe", 5, 0}, {name, 3, 0}}))) << name;
    EXPECT_FALSE(CheckedPackage(PackagedProgram({{"setup.exe", 5, 0}, {"SETUP.EXE", 3, 0}})));  // one file twice
    for (const char* name : {"Unskein.exe", "Disk1\\Shared\\Tiles.dll", "icon\\x", "a..b", "[SP] 2\\x"})
        EXPECT_TRUE(payload::IsSafeName(name)) << name;
}

// Setup gives each installed file its time from the index; a package of
// the format before, which recorded none, is read still.
TEST(Package, KeepsEachFilesTimeAndReadsTheFormatBeforeWithout)
{
    std::vector<payload::Entry> files = kFiles;
    files[0].time = 132223968000000000;  // 2020-01-02
    files[1].time = 1;
    std::optional<payload::Package> package = CheckedPackage(PackagedProgram(files));
    ASSERT_TRUE(package);
    EXPECT_EQ(package->entries[0].time, 132223968000000000u);
    EXPECT_EQ(package->entries[1].time, 1u);

    // The format before: version 2, the index as it is, without its times.
    std::vector<payload::Entry> entries = kFiles;
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].crc = payload::Crc32(0, kContents[i].data(), kContents[i].size());
    std::string index = payload::IndexBytes(entries, {});
    index.resize(index.size() - 16);
    const std::string data = kContents[0] + kContents[1];
    const std::string head = payload::HeaderBytes(payload::kSolidFormatVersion, entries.size(), index, data.size()) + index;
    const std::string program = SmallProgram() + head + data + payload::End(head.size() + data.size() + payload::kEndSize);
    package = CheckedPackage(program);
    ASSERT_TRUE(package);
    EXPECT_EQ(package->entries[1].name, "Disk1\\Program\\Read me.tx_");
    EXPECT_EQ(package->entries[1].time, 0u);
    EXPECT_EQ(program.substr(package->dataOffset, 8), "setupdoc");
}
