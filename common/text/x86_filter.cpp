#include "common/text/x86_filter.h"

namespace x86_filter {

namespace {

// Operands within 16 MB either way: their top byte is all zeros or all ones.
bool IsNear(uint32_t operand)
{
    const uint32_t top = operand >> 24;
    return top == 0 || top == 0xFF;
}

size_t Convert(uint8_t* data, size_t size, uint32_t position, bool last, bool encoding)
{
    size_t i = 0;
    while (i + 5 <= size) {
        if ((data[i] & 0xFE) != 0xE8) {
            ++i;
            continue;
        }
        // The opcode owns its four bytes whether they are converted or not:
        // an opcode among them is never looked at, since converting it would
        // change bytes that the choice here was made on, and decoding would
        // choose differently.
        uint8_t* operand = data + i + 1;
        const uint32_t value = operand[0] | operand[1] << 8 | operand[2] << 16 | static_cast<uint32_t>(operand[3]) << 24;
        i += 5;
        if (!IsNear(value))
            continue;
        const uint32_t next = position + static_cast<uint32_t>(i);
        uint32_t converted = encoding ? value + next : value - next;
        // Back to 25 bits, sign extended: stays near, so decoding finds it.
        converted = converted & 0x01000000 ? converted | 0xFF000000 : converted & 0x00FFFFFF;
        for (int b = 0; b < 4; ++b)
            operand[b] = static_cast<uint8_t>(converted >> (8 * b));
    }
    return last ? size : i;
}

}  // namespace

size_t Encode(uint8_t* data, size_t size, uint32_t position, bool last)
{
    return Convert(data, size, position, last, true);
}

size_t Decode(uint8_t* data, size_t size, uint32_t position, bool last)
{
    return Convert(data, size, position, last, false);
}

}  // namespace x86_filter
