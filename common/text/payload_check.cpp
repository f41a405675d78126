// The starter's check of its package (common/text/payload.h).
#include <algorithm>

#include "common/text/payload.h"

namespace payload {

bool CheckContents(Source& source, const Package& package, bool (*which)(const Entry&), Progress* progress)
{
    std::string buffer(1 << 16, '\0');
    uint64_t at = package.dataOffset;
    for (const Entry& entry : package.entries) {
        if (!which(entry)) {
            at += entry.size;
            continue;
        }
        uint32_t crc = 0;
        for (uint64_t left = entry.size; left > 0;) {
            const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
            if (!source.ReadAt(at, &buffer[0], chunk))
                return false;
            crc = Crc32(crc, buffer.data(), chunk);
            at += chunk;
            left -= chunk;
            if (progress && !progress->Advance(at - package.dataOffset))
                return false;
        }
        if (crc != entry.crc)
            return false;
    }
    return true;
}

}  // namespace payload
