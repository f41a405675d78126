// The package that a starter carries: the files of a one-disk medium, placed
// after the program's last section, where the program's signature covers
// them. tesselpack writes it and the starter reads it with these definitions,
// so that the layout has one home.
//
//   header, kHeaderSize bytes:
//      0  "TesselPk"
//      8  format version                            u32
//     12  number of files                           u32
//     16  size of the index as stored               u32
//     20  size of all files' contents               u64
//     28  CRC-32 of bytes 0-27 and of the stored index  u32
//   the index as stored: from format kFormatVersion on its size u32 and
//          its LZMA properties and data; before, as it is
//   index, one record per file:
//          size u64, CRC-32 of the contents u32, name length u16, name
//          (a path below the medium's folder, with backslashes)
//          from format kSolidFormatVersion on also:
//          flags u8 (kInStream, kX86Filtered, from format kFormatVersion
//          on kFolder); for a file in the stream its first
//          min(size, kHeadSize) bytes
//   from format kSolidFormatVersion on, after the records: the number of
//          streams u32 (0 when nothing is compressed),
//          then for each: packed size u64, unpacked size u64, CRC-32 of
//          the packed bytes u32
//   from format kTimesFormatVersion on, after those: each file's last
//          write time, in the records' order: u64 each, a FILETIME (0: not
//          known)
//   the contents of the files that are not in a stream, in the index's
//          order; then the streams, in order
//   end, kEndSize bytes: "TesselNd", size of the whole package u64
//
// A stream is the LZMA properties (5 bytes) and the LZMA data of the files
// in it, one after the other in the index's order; the files in streams
// fill the streams in turn, none cut between two. A new stream is a place
// where decoding can start.
//
// Numbers are little-endian. Every read is checked against the file that
// holds the package: a truncated download, a changed byte or a missing end
// is refused before anything is installed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace payload {

// Format 1 (plain) and 2 (solid) knew no times, format 3 kept its index
// as it is; their packages are read still. Format 4 compresses the index,
// its files at the top may lie in a stream too, and it records the
// medium's empty folders; it is what is written.
constexpr uint32_t kPlainFormatVersion = 1;
constexpr uint32_t kSolidFormatVersion = 2;
constexpr uint32_t kTimesFormatVersion = 3;
constexpr uint32_t kFormatVersion = 4;
constexpr char kHeaderMagic[] = "TesselPk";
constexpr char kEndMagic[] = "TesselNd";
constexpr size_t kMagicSize = 8;
constexpr size_t kHeaderSize = 32;
constexpr size_t kEndSize = 16;
// Bounds that no medium reaches, so that a damaged count cannot make the
// reader allocate without end.
constexpr uint32_t kMaxFiles = 100000;
constexpr uint32_t kMaxIndexSize = 16u << 20;
constexpr size_t kMaxNameLength = 240;
// The bytes of a streamed file that the index repeats: what setup reads of
// a source to tell its installed size (an SZDD header), without decoding.
constexpr size_t kHeadSize = 14;

// A file's flags in a solid package.
constexpr uint8_t kInStream = 1;
constexpr uint8_t kX86Filtered = 2;
// Not a file but a folder of the medium that holds none, which the
// folder's content cannot name: size 0, no content, no other flag.
constexpr uint8_t kFolder = 4;

// CRC-32 as zip and PNG have it; `crc` is the value so far (0 to begin).
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Where a program's package goes, read from its PE headers.
struct ProgramLayout {
    uint64_t sectionsEnd = 0;  // the end of the last section's bytes: the package starts here
    uint64_t signedEnd = 0;    // where the certificate table starts, or the file's end
    uint32_t certificateEntry = 0;  // offset of the certificate table's directory entry
};

// `headers` is the file's start (at least its PE headers; 4096 bytes suffice
// for any linker's), `fileSize` its size. Nothing when it is no PE program or
// its headers point outside the file.
std::optional<ProgramLayout> ReadProgramLayout(std::string_view headers, uint64_t fileSize);

// A program that can carry a package: the bytes up to the end of its last
// section, without a signature (the author signs the result). Nothing when
// `program` is no PE program.
std::optional<std::string> BareProgram(std::string program);

struct Entry {
    std::string name;  // relative, backslashes
    uint64_t size = 0;
    uint32_t crc = 0;
    uint64_t time = 0;  // last write, as a FILETIME; 0 when not known
    uint8_t flags = 0;
    std::string head{};   // in a stream: its first bytes
    uint64_t offset = 0;  // from the package's contents, or in its stream
    uint32_t stream = 0;  // in a stream: which
    bool InStream() const { return (flags & kInStream) != 0; }
    bool IsFolder() const { return (flags & kFolder) != 0; }
};

struct Stream {
    uint64_t packedSize = 0;
    uint64_t unpackedSize = 0;
    uint32_t crc = 0;
    uint64_t offset = 0;  // from the package's contents
};

// The name as the index tells names apart: A to Z in lower case, as
// Windows ignores their case (a package holds no two names that differ in
// it alone).
std::string LowerName(std::string_view name);

// Whether `name` stays inside the folder it is extracted into: relative,
// no drive, no "." or ".." part, no empty part, no character or device name
// that Windows treats specially.
bool IsSafeName(std::string_view name);

// The index's records for these files, in this order, as they are before
// the index is stored.
std::string IndexBytes(const std::vector<Entry>& entries, const std::vector<Stream>& streams);
// The header and the stored index for these files, in the format that is
// written (kFormatVersion): `packedIndex` is their IndexBytes, of
// `indexSize` bytes, compressed: the LZMA properties and data.
std::string HeaderAndIndex(const std::vector<Entry>& entries, const std::vector<Stream>& streams, size_t indexSize,
                           const std::string& packedIndex);
// The header for an index stored as `storedIndex`, in format `version`.
std::string HeaderBytes(uint32_t version, size_t files, const std::string& storedIndex, uint64_t dataSize);
// What follows the last file's contents.
std::string End(uint64_t packageSize);

struct Header {
    uint32_t version = 0;
    uint32_t files = 0;
    uint32_t indexSize = 0;
    uint64_t dataSize = 0;
    uint32_t crc = 0;
    uint64_t PackageSize() const { return kHeaderSize + indexSize + dataSize + kEndSize; }
};

// Nothing when it is no package header of this format or an older one
// that is read still.
std::optional<Header> ReadHeader(std::string_view bytes);
struct Index {
    std::vector<Entry> entries;
    std::vector<Stream> streams;
};

// The files the index lists; nothing when the checksum differs, the index
// does not decode, a record is cut short, a name is unsafe or repeated, or
// the sizes do not add up to the header's.
std::optional<Index> ReadIndex(const Header& header, std::string_view headerBytes, std::string_view index);
bool IsEnd(std::string_view bytes, uint64_t packageSize);

// Reads a program's bytes; the starter reads its own file, the tests a string.
class Source {
public:
    virtual ~Source() = default;
    // Exactly `size` bytes at `offset`; false when the file has fewer.
    virtual bool ReadAt(uint64_t offset, char* buffer, size_t size) = 0;
};

struct Package {
    std::vector<Entry> entries;
    std::vector<Stream> streams;
    uint64_t dataOffset = 0;  // in the program's file: the first file's contents
    uint64_t dataSize = 0;
};

// Called with the bytes checked so far; false stops the check.
class Progress {
public:
    virtual ~Progress() = default;
    virtual bool Advance(uint64_t done) = 0;
};

// The package of a program of `fileSize` bytes as its place in the PE
// headers, its header, index and end give it, the files' contents unread.
// Nothing when any of that is damaged.
std::optional<Package> ReadPackage(Source& source, uint64_t fileSize);

// Whether the files of the package that `which` names have the contents
// their checksums say, and the streams, when it names a file in one, their
// packed bytes (their files are checked as they are decoded); false also
// when `progress` stopped the check.
bool CheckContents(Source& source, const Package& package, bool (*which)(const Entry&), Progress* progress);

// Whether setup reads the file from the package where it lies instead of
// from the folder the starter unpacks: so are the files in the medium's
// folders (its disk), which setup only installs; the files at the top
// (setup.exe, Unskein.exe, the script) are unpacked, from their own stream
// when they are compressed. The starter checks the files that stay while
// setup starts, which installs nothing before it learns that they are
// whole. A folder record stays too: setup reads it from the index, and
// nothing is written for it.
inline bool StaysInPackage(const Entry& entry)
{
    return entry.IsFolder() || entry.name.find('\\') != std::string::npos;
}

}  // namespace payload
