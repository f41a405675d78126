// SZDD, the compressed-file format that the system's version-installation
// and setup functions expand while they copy: a 14-byte header, then LZSS
// items over a 4,096-byte window that starts out filled with spaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text/szdd_expander.h"

// Files above this size do not fit the header's 32-bit length.
constexpr uint64_t kSzddMaxSize = 0xFFFFFFFFull;

// The whole compressed file for `size` bytes of `data` (at most kSzddMaxSize).
// `lastCharacter` is the character that the compressed file's conventional
// name replaced by "_"; expanders that restore names read it from the header.
// The parse is optimal for the format: no encoder of it writes fewer bytes.
std::vector<uint8_t> CompressSzdd(const uint8_t* data, size_t size, char lastCharacter);

// The conventional name of a compressed file: its last character replaced
// by "_" ("Readme.txt" becomes "Readme.tx_").
std::string CompressedName(const std::string& name);
