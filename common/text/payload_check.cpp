// The starter's check of its package (common/text/payload.h).
#include <algorithm>

#include "common/text/payload.h"

namespace payload {

namespace {

// Whether `size` bytes at `at` have the checksum `crc`.
bool CheckBytes(Source& source, uint64_t at, uint64_t size, uint32_t expected, const Package& package,
                std::string& buffer, Progress* progress)
{
    uint32_t crc = 0;
    for (uint64_t left = size; left > 0;) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
        if (!source.ReadAt(at, &buffer[0], chunk))
            return false;
        crc = Crc32(crc, buffer.data(), chunk);
        at += chunk;
        left -= chunk;
        if (progress && !progress->Advance(at - package.dataOffset))
            return false;
    }
    return crc == expected;
}

}  // namespace

bool CheckContents(Source& source, const Package& package, bool (*which)(const Entry&), Progress* progress)
{
    std::string buffer(1 << 16, '\0');
    bool streamed = false;
    for (const Entry& entry : package.entries) {
        streamed = streamed || (entry.InStream() && which(entry));
        if (!entry.InStream() && which(entry) &&
            !CheckBytes(source, package.dataOffset + entry.offset, entry.size, entry.crc, package, buffer, progress))
            return false;
    }
    if (streamed)
        for (const Stream& stream : package.streams)
            if (!CheckBytes(source, package.dataOffset + stream.offset, stream.packedSize, stream.crc, package, buffer,
                            progress))
                return false;
    return true;
}

}  // namespace payload
