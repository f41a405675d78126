#include "common/text/solid_reader.h"

#include <algorithm>
#include <new>
#include <cstring>

#include "LzmaDec.h"
#include "common/text/x86_filter.h"

namespace payload {

namespace {

constexpr size_t kBufferSize = 1 << 16;

// The decoder's memory comes as every other allocation's does, so that a
// program that cannot get its dictionary ends as out of memory, not as if
// the package were damaged.
void* Allocate(void*, size_t size)
{
    return ::operator new(size);
}

void Release(void*, void* address)
{
    ::operator delete(address);
}

ISzAlloc gAllocator = {Allocate, Release};

}  // namespace

bool UnpackWhole(std::string_view packed, std::string& out)
{
    if (packed.size() < LZMA_PROPS_SIZE)
        return false;
    SizeT outSize = out.size();
    SizeT inSize = packed.size() - LZMA_PROPS_SIZE;
    ELzmaStatus status;
    // The output is the dictionary: only the probabilities are allocated,
    // whatever size the properties name.
    return LzmaDecode(reinterpret_cast<Byte*>(&out[0]), &outSize,
                      reinterpret_cast<const Byte*>(packed.data()) + LZMA_PROPS_SIZE, &inSize,
                      reinterpret_cast<const Byte*>(packed.data()), LZMA_PROPS_SIZE, LZMA_FINISH_END, &status,
                      &gAllocator) == SZ_OK &&
           outSize == out.size() && inSize == packed.size() - LZMA_PROPS_SIZE;
}

struct SolidReader::Decoder {
    CLzmaDec state;
    Decoder() { LzmaDec_Construct(&state); }
    ~Decoder() { LzmaDec_Free(&state, &gAllocator); }
};

SolidReader::SolidReader(Source& source, const Package& package)
    : source_(source), package_(package), decoder_(new Decoder), in_(kBufferSize), out_(kBufferSize)
{
    firstEntry_.assign(package.streams.size(), package.entries.size());
    for (size_t e = package.entries.size(); e-- > 0;)
        if (package.entries[e].InStream())
            firstEntry_[package.entries[e].stream] = e;
}

SolidReader::~SolidReader() = default;

bool SolidReader::Fail()
{
    damaged_ = true;
    return false;
}

// The stream's properties, its dictionary no larger than its contents, and
// decoding from its first byte.
bool SolidReader::Start(uint32_t stream)
{
    const Stream& s = package_.streams[stream];
    uint8_t props[LZMA_PROPS_SIZE];
    if (s.packedSize < LZMA_PROPS_SIZE ||
        !source_.ReadAt(package_.dataOffset + s.offset, reinterpret_cast<char*>(props), LZMA_PROPS_SIZE))
        return Fail();
    const uint32_t dictionary = props[1] | props[2] << 8 | props[3] << 16 | static_cast<uint32_t>(props[4]) << 24;
    if (dictionary > kMaxDictionary)
        return Fail();
    const uint32_t needed = static_cast<uint32_t>(std::min<uint64_t>(dictionary, std::max<uint64_t>(s.unpackedSize, 4096)));
    for (int b = 0; b < 4; ++b)
        props[1 + b] = static_cast<uint8_t>(needed >> (8 * b));
    if (LzmaDec_Allocate(&decoder_->state, props, LZMA_PROPS_SIZE, &gAllocator) != SZ_OK)
        return Fail();
    LzmaDec_Init(&decoder_->state);
    stream_ = stream;
    started_ = true;
    packedRead_ = LZMA_PROPS_SIZE;
    inAt_ = inSize_ = 0;
    base_ = 0;
    ready_ = have_ = 0;
    file_ = firstEntry_[stream];
    crc_ = 0;
    return true;
}

// Drops the settled bytes before `keepFrom` and decodes more after the rest.
bool SolidReader::Decode(uint64_t keepFrom)
{
    const Stream& s = package_.streams[stream_];
    const size_t drop = static_cast<size_t>(std::min<uint64_t>(keepFrom - base_, ready_));
    std::memmove(out_.data(), out_.data() + drop, have_ - drop);
    base_ += drop;
    ready_ -= drop;
    have_ -= drop;
    const uint64_t left = s.unpackedSize - (base_ + have_);
    if (left == 0)
        return Fail();
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(out_.size() - have_, left));
    size_t got = 0;
    while (got == 0) {
        if (inAt_ == inSize_) {
            const size_t chunk = static_cast<size_t>(std::min<uint64_t>(in_.size(), s.packedSize - packedRead_));
            if (chunk == 0 ||
                !source_.ReadAt(package_.dataOffset + s.offset + packedRead_, reinterpret_cast<char*>(in_.data()), chunk))
                return Fail();
            packedRead_ += chunk;
            inAt_ = 0;
            inSize_ = chunk;
        }
        SizeT outSize = wanted;
        SizeT inSize = inSize_ - inAt_;
        ELzmaStatus status;
        if (LzmaDec_DecodeToBuf(&decoder_->state, out_.data() + have_, &outSize, in_.data() + inAt_, &inSize,
                                wanted == left ? LZMA_FINISH_END : LZMA_FINISH_ANY, &status) != SZ_OK ||
            (outSize == 0 && inSize == 0 && inAt_ < inSize_))
            return Fail();
        inAt_ += inSize;
        got = outSize;
        if (got == 0 && status == LZMA_STATUS_FINISHED_WITH_MARK)
            return Fail();
    }
    have_ += got;
    return Settle();
}

// Undoes the filter of the decoded bytes, file by file, and checks each
// file that ends among them.
bool SolidReader::Settle()
{
    const std::vector<Entry>& entries = package_.entries;
    while (ready_ < have_) {
        while (file_ < entries.size() && (!entries[file_].InStream() || entries[file_].size == 0))
            ++file_;
        if (file_ == entries.size() || entries[file_].stream != stream_)
            return Fail();
        const Entry& entry = entries[file_];
        const uint64_t at = base_ + ready_;
        const uint64_t end = entry.offset + entry.size;
        const size_t length = static_cast<size_t>(std::min<uint64_t>(base_ + have_, end) - at);
        const bool last = at + length == end;
        const size_t settled = entry.flags & kX86Filtered
                                   ? x86_filter::Decode(out_.data() + ready_, length,
                                                        static_cast<uint32_t>(at - entry.offset), last)
                                   : length;
        crc_ = Crc32(crc_, out_.data() + ready_, settled);
        ready_ += settled;
        if (last) {
            if (crc_ != entry.crc)
                return Fail();
            crc_ = 0;
            ++file_;
        }
        if (settled < length)
            break;
    }
    return true;
}

bool SolidReader::Read(size_t index, uint64_t offset, char* buffer, size_t size)
{
    if (damaged_)
        return false;
    const Entry& entry = package_.entries[index];
    if (!entry.InStream() || offset > entry.size || size > entry.size - offset)
        return false;
    uint64_t at = entry.offset + offset;
    if (size > 0 && (!started_ || entry.stream != stream_ || at < base_) && !Start(entry.stream))
        return false;
    while (size > 0) {
        if (at < base_ + ready_) {
            const size_t count = static_cast<size_t>(std::min<uint64_t>(size, base_ + ready_ - at));
            std::memcpy(buffer, out_.data() + (at - base_), count);
            buffer += count;
            at += count;
            size -= count;
        } else if (!Decode(at)) {
            return false;
        }
    }
    return true;
}

}  // namespace payload
