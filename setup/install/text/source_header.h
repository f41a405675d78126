// What the first bytes of a source file tell about its installed size,
// so that the common plain and SZDD sources need no call of the Setup API.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/text/szdd_header.h"

// Bytes to read from the start of a source: the SZDD header.
constexpr std::size_t kSourceHeaderBytes = szdd::kHeaderSize;

// The size the source will have once installed, from the first `count`
// bytes of the file (all of them when the file is shorter than
// kSourceHeaderBytes) and its size on disk. Nothing when the system must be
// asked instead: a compressed format other than SZDD with method 'A', a
// header that is cut short, or a file too large for 32 bits.
std::optional<uint32_t> InstalledSizeFromHeader(const unsigned char* bytes, std::size_t count,
                                                uint64_t fileSize);

// True when the bytes start like a compressed file that the installation
// call would expand, so that the source cannot simply be copied.
bool LooksCompressed(const unsigned char* bytes, std::size_t count);
