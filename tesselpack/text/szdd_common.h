// What the compressor and the expander of SZDD files agree on.
#pragma once

#include <cstdint>

namespace szdd {

constexpr uint8_t kMagic[9] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A'};
constexpr int kWindow = 4096;
constexpr int kFirstWritePosition = kWindow - 16;  // where the expander writes its first byte
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;  // 4 bits of length above the minimum

}  // namespace szdd
