// Any bytes compress to a file that expands to them again, also when they
// are repeated past the window and when the file is expanded in pieces; any
// bytes given to the expander end in a result or a refusal, never outside
// its buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tesselpack/text/szdd.h"

namespace {

void ExpectRoundTrip(const std::vector<uint8_t>& data)
{
    const std::vector<uint8_t> packed = CompressSzdd(data.data(), data.size(), 'x');
    std::vector<uint8_t> back;
    if (!ExpandSzdd(packed.data(), packed.size(), back) || back != data)
        std::abort();
    // As setup reads it: in pieces that split items anywhere.
    SzddExpander pieces(szdd::ExpandedSize(packed.data()));
    std::vector<uint8_t> pieced;
    const size_t step = 1 + data.size() % 7;
    for (size_t at = szdd::kHeaderSize; at < packed.size(); at += step)
        if (!pieces.Expand(packed.data() + at, std::min(step, packed.size() - at), pieced))
            std::abort();
    if (!pieces.Complete() || pieced != data)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    ExpectRoundTrip(bytes);
    if (size > 0) {
        while (bytes.size() < 9000)
            bytes.insert(bytes.end(), data, data + size);
        ExpectRoundTrip(bytes);
    }
    std::vector<uint8_t> expanded;
    ExpandSzdd(data, size, expanded);
    return 0;
}
