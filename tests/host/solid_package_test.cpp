// The solid package: the x86 filter comes back exactly however the bytes
// are cut, the files decode from their streams in any order, and a stream
// that decodes wrong never hands out a file's last bytes.
#include <gtest/gtest.h>

#include "common/text/solid_reader.h"
#include "tests/host/package_samples.h"

using namespace package_samples;

namespace {

// Code-like bytes: calls and jumps to near targets among other bytes.
std::string CodeBytes(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(seed >> 16);
        if (seed % 7 == 0 && i + 5 < size) {
            bytes[i] = static_cast<char>(seed % 2 ? 0xE8 : 0xE9);
            bytes[i + 3] = static_cast<char>(seed % 3 ? 0 : 0xFF);
            bytes[i + 4] = bytes[i + 3];
            i += 4;
        }
    }
    return bytes;
}

// A program as IsX86Program knows one, its code after the headers.
std::string Program(size_t size, uint32_t seed)
{
    std::string program = SmallProgram();
    return program + CodeBytes(size - program.size(), seed);
}

// Runs the filter over the bytes as they come in pieces of `piece`, each
// call from where the last one settled, as the package's reader does.
std::string FilterInPieces(std::string bytes, size_t piece, bool encode)
{
    auto* data = reinterpret_cast<uint8_t*>(&bytes[0]);
    for (size_t at = 0, end = 0; at < bytes.size();) {
        end = std::min(end + piece, bytes.size());
        const bool last = end == bytes.size();
        at += encode ? x86_filter::Encode(data + at, end - at, static_cast<uint32_t>(at), last)
                     : x86_filter::Decode(data + at, end - at, static_cast<uint32_t>(at), last);
    }
    return bytes;
}

std::string ReadWhole(payload::SolidReader& reader, size_t entry, size_t size, size_t piece)
{
    std::string bytes(size, '\0');
    for (size_t at = 0; at < size; at += piece)
        if (!reader.Read(entry, at, &bytes[at], std::min(piece, size - at)))
            return "(failed)";
    return bytes;
}

// Opcode bytes close together, so that a converted operand lands on the
// operand of a call before it that was left alone, as in real programs'
// data and tables.
std::string CrowdedBranchBytes(size_t size, uint32_t seed)
{
    const char alphabet[] = {'\xE8', '\xE9', '\x00', '\xFF', '\xF8', '\x10'};
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = alphabet[(seed >> 16) % sizeof alphabet];
    }
    return bytes;
}

}  // namespace

TEST(SolidPackage, X86FilterComesBackExactlyInAnyPieces)
{
    for (const std::string& code : {CodeBytes(1 << 16, 7), CrowdedBranchBytes(1 << 16, 3)}) {
        const std::string filtered = FilterInPieces(code, code.size(), true);
        EXPECT_NE(filtered, code);
        EXPECT_EQ(FilterInPieces(code, 4099, true), filtered);
        for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, code.size()})
            EXPECT_EQ(FilterInPieces(filtered, piece, false), code) << piece;
    }
}

TEST(SolidPackage, FilesDecodeInOrderSkippingAndGoingBack)
{
    const std::vector<SampleFile> files = {
        {"setup.exe", Program(3000, 1)},
        {"Disk1\\App\\App.exe", Program(90000, 2)},
        {"Disk1\\App\\Empty.txt", ""},
        {"Disk1\\App\\Read me.txt", std::string(70000, 'r') + "end"},
        {"Disk1\\Extra\\Data.bin", CodeBytes(150000, 3)},
    };
    const std::string program = SolidProgram(files, 100000);
    StringSource source(program);
    const std::optional<payload::Package> package = CheckedPackage(program);
    ASSERT_TRUE(package);
    ASSERT_EQ(package->streams.size(), 2u);
    EXPECT_EQ(package->entries[0].InStream(), false);
    EXPECT_EQ(package->entries[1].flags, payload::kInStream | payload::kX86Filtered);
    EXPECT_EQ(package->entries[1].head, files[1].bytes.substr(0, payload::kHeadSize));
    EXPECT_LT(program.size(), 3000 + 90000 + 70000 + 150000);

    payload::SolidReader reader(source, *package);
    EXPECT_EQ(ReadWhole(reader, 1, files[1].bytes.size(), 5000), files[1].bytes);
    EXPECT_EQ(ReadWhole(reader, 4, files[4].bytes.size(), 65536), files[4].bytes);  // the read-me skipped
    EXPECT_EQ(ReadWhole(reader, 3, files[3].bytes.size(), 333), files[3].bytes);    // back
    EXPECT_TRUE(reader.Read(2, 0, nullptr, 0));
    EXPECT_FALSE(reader.Read(3, files[3].bytes.size() - 2, nullptr, 3));  // past its end
    EXPECT_FALSE(reader.Damaged());
}

TEST(SolidPackage, AStreamThatDecodesWrongNeverGivesAFileItsEnd)
{
    const std::vector<SampleFile> files = {
        {"Disk1\\A.txt", std::string(20000, 'a')},
        {"Disk1\\B.dll", Program(60000, 4)},
        {"Disk1\\C.txt", CodeBytes(40000, 5)},
    };
    std::string program = SolidProgram(files, 1 << 20);
    StringSource source(program);
    const std::optional<payload::Package> whole = CheckedPackage(program);
    ASSERT_TRUE(whole);
    // A byte changed behind the stream's checksum, as a faulty encoder
    // would leave it: the starter's check refuses it, and the reader too.
    const payload::Stream& stream = whole->streams[0];
    program[whole->dataOffset + stream.offset + stream.packedSize * 2 / 3] ^= 0x20;
    std::optional<payload::Package> package = payload::ReadPackage(source, program.size());
    ASSERT_TRUE(package);
    EXPECT_FALSE(payload::CheckContents(source, *package, payload::StaysInPackage, nullptr));
    payload::SolidReader reader(source, *package);
    bool failed = false;
    for (size_t e = 0; e < files.size(); ++e) {
        const std::string read = ReadWhole(reader, e, files[e].bytes.size(), 4096);
        if (read == "(failed)")
            failed = true;
        else
            EXPECT_EQ(read, files[e].bytes) << e;
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(reader.Damaged());
}
