#include "common/text/payload.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "common/text/solid_reader.h"

namespace payload {

namespace {

constexpr size_t kRecordFixedSize = 8 + 4 + 2;

uint64_t Number(std::string_view bytes, size_t at, size_t width)
{
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Names that Windows opens as devices in any folder, with any extension.
bool IsDeviceName(std::string_view part)
{
    const std::string lower = LowerName(part.substr(0, part.find('.')));
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
    for (const char* device : kDevices)
        if (lower == device)
            return true;
    return lower.size() == 4 && (lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0) &&
           lower[3] >= '0' && lower[3] <= '9';
}

bool IsSafePart(std::string_view part)
{
    if (part.empty() || part.back() == '.' || part.back() == ' ' || IsDeviceName(part))
        return false;
    for (char c : part)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"/|?*", c))
            return false;
    return true;
}

}  // namespace

std::string LowerName(std::string_view name)
{
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

uint32_t Crc32(uint32_t crc, const void* data, size_t size)
{
    // Eight bytes a step through eight tables (the "slicing" method): the
    // starter checks every byte of a package twice, and the byte-wise loop
    // alone was slower than writing the files.
    // On the heap: a static table would take 8 KB of each program's file.
    static uint32_t (*table)[256] = nullptr;
    if (!table) {
        table = new uint32_t[8][256];
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n)
            for (int t = 1; t < 8; ++t)
                table[t][n] = table[0][table[t - 1][n] & 0xFF] ^ (table[t - 1][n] >> 8);
    }
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (; size >= 8; size -= 8, bytes += 8) {
        const uint32_t low = crc ^ (bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
        crc = table[7][low & 0xFF] ^ table[6][low >> 8 & 0xFF] ^ table[5][low >> 16 & 0xFF] ^ table[4][low >> 24] ^
              table[3][bytes[4]] ^ table[2][bytes[5]] ^ table[1][bytes[6]] ^ table[0][bytes[7]];
    }
    for (; size > 0; --size, ++bytes)
        crc = table[0][(crc ^ *bytes) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::optional<ProgramLayout> ReadProgramLayout(std::string_view headers, uint64_t fileSize)
{
    if (headers.size() < 64 || headers.size() > fileSize || headers.compare(0, 2, "MZ") != 0)
        return std::nullopt;
    const uint64_t pe = Number(headers, 0x3C, 4);
    if (pe + 24 > headers.size() || headers.compare(pe, 4, std::string_view("PE\0\0", 4)) != 0)
        return std::nullopt;
    const uint64_t sections = Number(headers, pe + 6, 2);
    const uint64_t optionalSize = Number(headers, pe + 20, 2);
    const uint64_t optional = pe + 24;
    const uint64_t table = optional + optionalSize;
    if (sections == 0 || table + 40 * sections > headers.size() || optionalSize < 2)
        return std::nullopt;

    // The data directories: where they start and how many there are differ
    // between 32-bit and 64-bit programs.
    const uint64_t magic = Number(headers, optional, 2);
    const uint64_t countAt = magic == 0x10B ? 92 : magic == 0x20B ? 108 : 0;
    if (countAt == 0 || countAt + 4 > optionalSize)
        return std::nullopt;
    const uint64_t directories = Number(headers, optional + countAt, 4);
    const uint64_t certificateEntry = optional + countAt + 4 + 4 * 8;

    ProgramLayout layout;
    for (uint64_t s = 0; s < sections; ++s) {
        const uint64_t rawSize = Number(headers, table + 40 * s + 16, 4);
        const uint64_t rawOffset = Number(headers, table + 40 * s + 20, 4);
        if (rawSize > 0)
            layout.sectionsEnd = std::max(layout.sectionsEnd, rawOffset + rawSize);
    }
    if (layout.sectionsEnd == 0 || layout.sectionsEnd > fileSize)
        return std::nullopt;
    layout.signedEnd = fileSize;
    if (directories > 4 && certificateEntry + 8 <= optional + optionalSize) {
        layout.certificateEntry = static_cast<uint32_t>(certificateEntry);
        const uint64_t offset = Number(headers, certificateEntry, 4);
        const uint64_t size = Number(headers, certificateEntry + 4, 4);
        if (size > 0) {
            if (offset < layout.sectionsEnd || offset + size > fileSize)
                return std::nullopt;
            layout.signedEnd = offset;
        }
    }
    return layout;
}

bool IsSafeName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    for (size_t start = 0;;) {
        const size_t end = name.find('\\', start);
        if (!IsSafePart(name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)))
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

std::optional<Header> ReadHeader(std::string_view bytes)
{
    if (bytes.size() < kHeaderSize || bytes.compare(0, kMagicSize, kHeaderMagic) != 0)
        return std::nullopt;
    Header header;
    header.version = static_cast<uint32_t>(Number(bytes, 8, 4));
    header.files = static_cast<uint32_t>(Number(bytes, 12, 4));
    header.indexSize = static_cast<uint32_t>(Number(bytes, 16, 4));
    header.dataSize = Number(bytes, 20, 8);
    header.crc = static_cast<uint32_t>(Number(bytes, 28, 4));
    if (header.version < kPlainFormatVersion || header.version > kFormatVersion || header.files > kMaxFiles ||
        header.indexSize > kMaxIndexSize || header.dataSize > (uint64_t{1} << 56))
        return std::nullopt;
    return header;
}

namespace {

constexpr size_t kStreamRecordSize = 8 + 8 + 4;
constexpr uint64_t kMaxSize = uint64_t{1} << 56;

// Reads the fields that a solid package adds to a file's record; a folder
// record only where the format has them.
bool ReadSolidFields(std::string_view index, size_t& at, Entry& entry, bool folders)
{
    if (index.size() - at < 1)
        return false;
    entry.flags = static_cast<uint8_t>(index[at++]);
    if (entry.IsFolder())
        return folders && entry.flags == kFolder && entry.size == 0 && entry.crc == 0;
    if ((entry.flags & ~(kInStream | kX86Filtered)) != 0 || entry.flags == kX86Filtered)
        return false;
    if (!entry.InStream())
        return true;
    if (entry.size == 0 && entry.crc != 0)
        return false;
    const size_t headSize = static_cast<size_t>(std::min<uint64_t>(entry.size, kHeadSize));
    if (index.size() - at < headSize)
        return false;
    entry.head.assign(index.substr(at, headSize));
    at += headSize;
    return true;
}

// The streams' table; each file in a stream gets its stream and its place
// there. False when the files do not fill the streams exactly.
bool ReadStreams(std::string_view index, size_t& at, std::vector<Entry>& entries, std::vector<Stream>& streams,
                 uint64_t& packedSize)
{
    if (index.size() - at < 4)
        return false;
    const uint64_t count = Number(index, at, 4);
    at += 4;
    if (count > kMaxFiles || (index.size() - at) / kStreamRecordSize < count)
        return false;
    for (uint64_t s = 0; s < count; ++s, at += kStreamRecordSize) {
        Stream stream;
        stream.packedSize = Number(index, at, 8);
        stream.unpackedSize = Number(index, at + 8, 8);
        stream.crc = static_cast<uint32_t>(Number(index, at + 16, 4));
        if (stream.packedSize > kMaxSize || stream.unpackedSize == 0 || stream.unpackedSize > kMaxSize ||
            stream.packedSize > kMaxSize - packedSize)
            return false;
        packedSize += stream.packedSize;
        streams.push_back(stream);
    }
    size_t s = 0;
    uint64_t filled = 0;
    for (Entry& entry : entries) {
        if (!entry.InStream())
            continue;
        while (s < streams.size() && filled == streams[s].unpackedSize && entry.size > 0) {
            ++s;
            filled = 0;
        }
        if (s == streams.size() || entry.size > streams[s].unpackedSize - filled)
            return false;
        entry.stream = static_cast<uint32_t>(s);
        entry.offset = filled;
        filled += entry.size;
    }
    // Every stream holds files, and the last is full.
    return streams.empty() ? true : s + 1 == streams.size() && filled == streams[s].unpackedSize;
}

// The files' times, in the records' order.
bool ReadTimes(std::string_view index, size_t& at, std::vector<Entry>& entries)
{
    if ((index.size() - at) / 8 < entries.size())
        return false;
    for (Entry& entry : entries) {
        entry.time = Number(index, at, 8);
        at += 8;
    }
    return true;
}

}  // namespace

std::optional<Index> ReadIndex(const Header& header, std::string_view headerBytes, std::string_view stored)
{
    if (headerBytes.size() < kHeaderSize || stored.size() != header.indexSize ||
        Crc32(Crc32(0, headerBytes.data(), 28), stored.data(), stored.size()) != header.crc)
        return std::nullopt;
    std::string unpacked;
    if (header.version >= kFormatVersion) {
        if (stored.size() < 4 || Number(stored, 0, 4) > kMaxIndexSize)
            return std::nullopt;
        unpacked.resize(static_cast<size_t>(Number(stored, 0, 4)));
        if (!UnpackWhole(stored.substr(4), unpacked))
            return std::nullopt;
    }
    const std::string_view index = header.version >= kFormatVersion ? std::string_view(unpacked) : stored;
    const bool solid = header.version >= kSolidFormatVersion;
    Index result;
    std::vector<Entry>& entries = result.entries;
    std::set<std::string> lowerNames;
    uint64_t dataSize = 0;
    size_t at = 0;
    for (uint32_t f = 0; f < header.files; ++f) {
        if (index.size() - at < kRecordFixedSize)
            return std::nullopt;
        Entry entry;
        entry.size = Number(index, at, 8);
        entry.crc = static_cast<uint32_t>(Number(index, at + 8, 4));
        const size_t nameLength = Number(index, at + 12, 2);
        at += kRecordFixedSize;
        if (index.size() - at < nameLength || entry.size > kMaxSize)
            return std::nullopt;
        entry.name.assign(index.substr(at, nameLength));
        at += nameLength;
        if (!IsSafeName(entry.name) ||
            (solid && !ReadSolidFields(index, at, entry, header.version >= kFormatVersion)))
            return std::nullopt;
        if (!entry.InStream()) {
            if (entry.size > header.dataSize - dataSize)
                return std::nullopt;
            entry.offset = dataSize;
            dataSize += entry.size;
        }
        if (!lowerNames.insert(LowerName(entry.name)).second)
            return std::nullopt;
        entries.push_back(std::move(entry));
    }
    uint64_t packedSize = 0;
    if (solid && !ReadStreams(index, at, entries, result.streams, packedSize))
        return std::nullopt;
    for (Stream& stream : result.streams) {
        stream.offset = dataSize;
        dataSize += stream.packedSize;
    }
    if (header.version >= kTimesFormatVersion && !ReadTimes(index, at, entries))
        return std::nullopt;
    if (at != index.size() || dataSize != header.dataSize)
        return std::nullopt;
    return result;
}

bool IsEnd(std::string_view bytes, uint64_t packageSize)
{
    return bytes.size() == kEndSize && bytes.compare(0, kMagicSize, kEndMagic) == 0 &&
           Number(bytes, kMagicSize, 8) == packageSize;
}

std::optional<Package> ReadPackage(Source& source, uint64_t fileSize)
{
    std::string headers(static_cast<size_t>(std::min<uint64_t>(fileSize, 4096)), '\0');
    if (!source.ReadAt(0, &headers[0], headers.size()))
        return std::nullopt;
    const std::optional<ProgramLayout> layout = ReadProgramLayout(headers, fileSize);
    if (!layout || layout->signedEnd - layout->sectionsEnd < kHeaderSize + kEndSize)
        return std::nullopt;
    const uint64_t start = layout->sectionsEnd;
    std::string headerBytes(kHeaderSize, '\0');
    if (!source.ReadAt(start, &headerBytes[0], kHeaderSize))
        return std::nullopt;
    const std::optional<Header> header = ReadHeader(headerBytes);
    if (!header || header->PackageSize() > layout->signedEnd - start)
        return std::nullopt;
    std::string index(header->indexSize, '\0');
    if (!index.empty() && !source.ReadAt(start + kHeaderSize, &index[0], index.size()))
        return std::nullopt;
    std::optional<Index> read = ReadIndex(*header, headerBytes, index);
    if (!read)
        return std::nullopt;

    Package package;
    package.dataOffset = start + kHeaderSize + header->indexSize;
    package.dataSize = header->dataSize;
    std::string end(kEndSize, '\0');
    if (!source.ReadAt(package.dataOffset + package.dataSize, &end[0], kEndSize) ||
        !IsEnd(end, header->PackageSize()))
        return std::nullopt;
    package.entries = std::move(read->entries);
    package.streams = std::move(read->streams);
    return package;
}

}  // namespace payload
