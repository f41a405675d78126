#include "common/text/szdd_expander.h"

#include <cstring>

using namespace szdd;

SzddExpander::SzddExpander(uint32_t expandedSize) : expected_(expandedSize)
{
    std::memset(window_, ' ', sizeof window_);
}

void SzddExpander::Put(uint8_t byte, std::vector<uint8_t>& out)
{
    out.push_back(byte);
    window_[position_] = byte;
    position_ = (position_ + 1) % kWindow;
    ++produced_;
}

bool SzddExpander::Expand(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out)
{
    for (size_t in = 0; in < count && produced_ <= expected_; ++in) {
        const uint8_t byte = bytes[in];
        if (inMatch_) {
            const unsigned source = matchLow_ | ((byte & 0xF0u) << 4);
            const int length = (byte & 0x0F) + kMinMatch;
            for (int k = 0; k < length; ++k)
                Put(window_[(source + k) % kWindow], out);
            inMatch_ = false;
        } else if (flagsLeft_ == 0) {
            flags_ = byte;
            flagsLeft_ = 8;
        } else {
            const bool literal = flags_ & 1u;
            flags_ >>= 1;
            --flagsLeft_;
            if (literal) {
                Put(byte, out);
            } else {
                inMatch_ = true;
                matchLow_ = byte;
            }
        }
    }
    return produced_ <= expected_;
}

bool IsSzdd(const uint8_t* file, size_t size)
{
    return size >= kHeaderSize && IsLzssHeader(file);
}

bool ExpandSzdd(const uint8_t* file, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    if (!IsSzdd(file, size))
        return false;
    SzddExpander expander(ExpandedSize(file));
    return expander.Expand(file + kHeaderSize, size - kHeaderSize, out) && expander.Complete();
}
