// Reads the files of a solid package's streams (common/text/payload.h):
// decodes a stream from its start, undoes the x86 filter, and checks each
// file's checksum as its last byte is decoded, so that no caller ever gets
// the end of a file whose bytes are wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/payload.h"

namespace payload {

// The dictionary that tesselpack gives a stream at most; the reader refuses
// a larger one, so that a damaged package cannot make it allocate without
// end.
constexpr uint32_t kMaxDictionary = 16u << 20;

// Decodes LZMA properties and data that hold exactly `out.size()` bytes,
// as a package's index is stored; false when they do not.
bool UnpackWhole(std::string_view packed, std::string& out);

class SolidReader {
public:
    SolidReader(Source& source, const Package& package);
    ~SolidReader();
    SolidReader(const SolidReader&) = delete;
    SolidReader& operator=(const SolidReader&) = delete;

    // Exactly `size` bytes of the file in a stream `entry` (an index into
    // the package's entries) from `offset`. Reading on from where the last
    // read ended, or further on in the same stream, decodes only what lies
    // between; reading back starts the stream again. False when the
    // stream is damaged (and from then on).
    bool Read(size_t entry, uint64_t offset, char* buffer, size_t size);
    bool Damaged() const { return damaged_; }

private:
    struct Decoder;

    bool Start(uint32_t stream);
    bool Decode(uint64_t keepFrom);
    bool Settle();
    bool Fail();

    Source& source_;
    const Package& package_;
    std::unique_ptr<Decoder> decoder_;
    std::vector<size_t> firstEntry_;  // per stream: the index of its first entry
    uint32_t stream_ = 0;
    bool started_ = false;
    bool damaged_ = false;
    uint64_t packedRead_ = 0;  // of the stream, into `in_`
    std::vector<uint8_t> in_;
    size_t inAt_ = 0, inSize_ = 0;
    // Decoded bytes of the stream from `base_`: `ready_` of them filtered
    // back and checked, `have_` in all.
    std::vector<uint8_t> out_;
    uint64_t base_ = 0;
    size_t ready_ = 0, have_ = 0;
    size_t file_ = 0;  // the entry that the next byte to settle belongs to
    uint32_t crc_ = 0;
};

}  // namespace payload
