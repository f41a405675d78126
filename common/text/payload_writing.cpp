// What tesselpack writes of a package (common/text/payload.h).
#include <cstring>

#include "common/text/payload.h"

namespace payload {

namespace {

void PutNumber(std::string& bytes, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i, value >>= 8)
        bytes += static_cast<char>(value & 0xFF);
}

}  // namespace

std::optional<std::string> BareProgram(std::string program)
{
    const std::optional<ProgramLayout> layout =
        ReadProgramLayout(std::string_view(program).substr(0, 4096), program.size());
    if (!layout)
        return std::nullopt;
    program.resize(layout->sectionsEnd);
    if (layout->certificateEntry)
        std::memset(&program[layout->certificateEntry], 0, 8);
    return program;
}

std::string IndexBytes(const std::vector<Entry>& entries, const std::vector<Stream>& streams)
{
    std::string index;
    for (const Entry& entry : entries) {
        PutNumber(index, entry.size, 8);
        PutNumber(index, entry.crc, 4);
        PutNumber(index, entry.name.size(), 2);
        index += entry.name;
        index += static_cast<char>(entry.flags);
        if (entry.InStream())
            index += entry.head.substr(0, kHeadSize);
    }
    PutNumber(index, streams.size(), 4);
    for (const Stream& stream : streams) {
        PutNumber(index, stream.packedSize, 8);
        PutNumber(index, stream.unpackedSize, 8);
        PutNumber(index, stream.crc, 4);
    }
    for (const Entry& entry : entries)
        PutNumber(index, entry.time, 8);
    return index;
}

std::string HeaderBytes(uint32_t version, size_t files, const std::string& storedIndex, uint64_t dataSize)
{
    std::string bytes(kHeaderMagic, kMagicSize);
    PutNumber(bytes, version, 4);
    PutNumber(bytes, files, 4);
    PutNumber(bytes, storedIndex.size(), 4);
    PutNumber(bytes, dataSize, 8);
    PutNumber(bytes, Crc32(Crc32(0, bytes.data(), bytes.size()), storedIndex.data(), storedIndex.size()), 4);
    return bytes;
}

std::string HeaderAndIndex(const std::vector<Entry>& entries, const std::vector<Stream>& streams, size_t indexSize,
                           const std::string& packedIndex)
{
    uint64_t dataSize = 0;
    for (const Entry& entry : entries)
        if (!entry.InStream())
            dataSize += entry.size;
    for (const Stream& stream : streams)
        dataSize += stream.packedSize;
    std::string stored;
    PutNumber(stored, indexSize, 4);
    stored += packedIndex;
    return HeaderBytes(kFormatVersion, entries.size(), stored, dataSize) + stored;
}

std::string End(uint64_t packageSize)
{
    std::string bytes(kEndMagic, kMagicSize);
    PutNumber(bytes, packageSize, 8);
    return bytes;
}

}  // namespace payload
