// SZDD, the compressed-file format that the system's installation calls
// expand while they copy: its 14-byte header, which setup reads and
// tesselpack writes, and the LZSS window and match lengths that the
// compressor and the expander agree on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace szdd {

constexpr std::size_t kHeaderSize = 14;
constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t kMethodAt = 8;
constexpr uint8_t kMethodLzss = 'A';         // the one method the system expands
constexpr std::size_t kLastCharacterAt = 9;  // of the name, where the compressed name has "_"
constexpr std::size_t kSizeAt = 10;          // the expanded size, 32 bits, little-endian

// Whether a header of kHeaderSize bytes starts an LZSS-compressed SZDD file.
inline bool IsLzssHeader(const uint8_t* header)
{
    return std::memcmp(header, kMagic, sizeof kMagic) == 0 && header[kMethodAt] == kMethodLzss;
}

inline uint32_t ExpandedSize(const uint8_t* header)
{
    const uint8_t* size = header + kSizeAt;
    return static_cast<uint32_t>(size[0]) | static_cast<uint32_t>(size[1]) << 8 |
           static_cast<uint32_t>(size[2]) << 16 | static_cast<uint32_t>(size[3]) << 24;
}

constexpr int kWindow = 4096;
constexpr int kFirstWritePosition = kWindow - 16;  // where the expander writes its first byte
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;  // 4 bits of length above the minimum

}  // namespace szdd
