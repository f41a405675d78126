// One stream of a solid package (common/text/payload.h): LZMA from the
// LZMA SDK, with the settings that the package's reader can hold on an old
// machine.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace solid_stream {

// The dictionary of every stream: what setup allocates to decode it, or
// the stream's size when that is smaller. 16 MB: 1.3 per cent smaller
// than 8 MB on 111 MB of libraries and documents.
constexpr uint32_t kDictionary = 16u << 20;

// Whether the bytes start a Windows program for x86 or x64 processors,
// whose calls and jumps the x86 filter makes more alike.
bool IsX86Program(std::string_view start);

// The stream of `data` (the files, each filtered as its entry says): the
// LZMA properties, then the LZMA data. `progress` gets the bytes of `data`
// compressed so far. Nothing when the encoder fails (memory).
std::optional<std::string> Compress(const std::string& data, const std::function<void(uint64_t)>& progress);

}  // namespace solid_stream
