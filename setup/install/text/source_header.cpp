#include "setup/install/text/source_header.h"

#include <algorithm>
#include <cstring>

#include "common/text/szdd_header.h"

namespace {

// The starts of the compressed formats that the system recognises: the
// setup compression (also its older "SZ " variant), its KWAJ relative and
// cabinets. A short file that could be the start of one is not judged.
const char* const kCompressedStarts[] = {"SZDD", "SZ \x88", "KWAJ", "MSCF"};

bool StartsWithAny(const unsigned char* bytes, std::size_t count)
{
    for (const char* start : kCompressedStarts) {
        const std::size_t length = std::min(count, std::strlen(start));
        if (std::memcmp(bytes, start, length) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool LooksCompressed(const unsigned char* bytes, std::size_t count)
{
    return StartsWithAny(bytes, count);
}

std::optional<uint32_t> InstalledSizeFromHeader(const unsigned char* bytes, std::size_t count, uint64_t fileSize)
{
    if (count >= szdd::kHeaderSize && szdd::IsLzssHeader(bytes))
        return szdd::ExpandedSize(bytes);
    if (StartsWithAny(bytes, count) || fileSize > UINT32_MAX)
        return std::nullopt;
    return static_cast<uint32_t>(fileSize);
}
