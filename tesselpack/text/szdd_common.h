// What the compressor and the expander of SZDD files agree on besides the
// header: the LZSS window and match lengths.
#pragma once

#include "common/text/szdd_header.h"

namespace szdd {

constexpr int kWindow = 4096;
constexpr int kFirstWritePosition = kWindow - 16;  // where the expander writes its first byte
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 18;  // 4 bits of length above the minimum

}  // namespace szdd
