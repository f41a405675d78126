// The x86 branch filter that goes before compressing a program: the
// relative targets of CALL (E8) and JMP (E9) become absolute, so that calls
// of one function from many places repeat the same bytes and compress
// better. A target is converted only when it lies within 16 MB of the
// instruction, as nearly all real ones do, and it keeps that form, so that
// decoding makes the same choices at the same places.
#pragma once

#include <cstddef>
#include <cstdint>

namespace x86_filter {

// Filters `size` bytes in place that start `position` bytes into the file.
// Returns how many bytes are final: all when `last` (the file ends there),
// otherwise the bytes before an instruction whose operand is not complete
// yet; the call after goes on from there with those bytes at its start.
size_t Encode(uint8_t* data, size_t size, uint32_t position, bool last);
size_t Decode(uint8_t* data, size_t size, uint32_t position, bool last);

}  // namespace x86_filter
