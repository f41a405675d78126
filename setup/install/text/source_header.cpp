#include "setup/install/text/source_header.h"

#include <algorithm>
#include <cstring>

namespace {

const unsigned char kSzddMagic[] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t kSzddMethod = 8;
constexpr std::size_t kSzddSize = 10;

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

uint32_t ReadLittleEndian32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

bool LooksCompressed(const unsigned char* bytes, std::size_t count)
{
    return StartsWithAny(bytes, count);
}

std::optional<uint32_t> InstalledSizeFromHeader(const unsigned char* bytes, std::size_t count, uint64_t fileSize)
{
    if (count >= kSourceHeaderBytes && std::memcmp(bytes, kSzddMagic, sizeof kSzddMagic) == 0 &&
        bytes[kSzddMethod] == 'A')
        return ReadLittleEndian32(bytes + kSzddSize);
    if (StartsWithAny(bytes, count) || fileSize > UINT32_MAX)
        return std::nullopt;
    return static_cast<uint32_t>(fileSize);
}
