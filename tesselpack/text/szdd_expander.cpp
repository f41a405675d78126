#include <cstring>

#include "tesselpack/text/szdd.h"
#include "tesselpack/text/szdd_common.h"

using namespace szdd;

bool IsSzdd(const uint8_t* file, size_t size)
{
    return size >= kHeaderSize && IsLzssHeader(file);
}

bool ExpandSzdd(const uint8_t* file, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (!IsSzdd(file, size))
        return false;
    const uint32_t expected = ExpandedSize(file);

    uint8_t window[kWindow];
    std::memset(window, ' ', sizeof window);
    unsigned position = kFirstWritePosition;
    auto put = [&](uint8_t byte) {
        out.push_back(byte);
        window[position] = byte;
        position = (position + 1) % kWindow;
    };

    size_t in = kHeaderSize;
    while (in < size) {
        const uint8_t flags = file[in++];
        for (int bit = 0; bit < 8 && in < size; ++bit) {
            if (out.size() > expected)
                return false;  // more than the header states: not ours to guess
            if (flags & (1u << bit)) {
                put(file[in++]);
                continue;
            }
            if (size - in < 2)
                return false;
            const unsigned source = file[in] | ((file[in + 1] & 0xF0) << 4);
            const int length = (file[in + 1] & 0x0F) + kMinMatch;
            in += 2;
            for (int k = 0; k < length; ++k)
                put(window[(source + k) % kWindow]);
        }
    }
    return out.size() == expected;
}
