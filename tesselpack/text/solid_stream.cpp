#include "tesselpack/text/solid_stream.h"

#include <algorithm>
#include <cstdlib>

#include "LzmaEnc.h"

namespace solid_stream {

namespace {

void* Allocate(void*, size_t size)
{
    return std::malloc(size);
}

void Release(void*, void* address)
{
    std::free(address);
}

ISzAlloc gAllocator = {Allocate, Release};

struct ProgressHook {
    ICompressProgress vt;
    const std::function<void(uint64_t)>* report;
};

SRes ReportProgress(void* p, UInt64 inSize, UInt64)
{
    const ProgressHook* hook = static_cast<const ProgressHook*>(p);
    if (inSize != static_cast<UInt64>(-1))
        (*hook->report)(inSize);
    return SZ_OK;
}

uint32_t Number(std::string_view bytes, size_t at, size_t width)
{
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

bool IsX86Program(std::string_view start)
{
    if (start.size() < 64 || start.compare(0, 2, "MZ") != 0)
        return false;
    const uint32_t pe = Number(start, 0x3C, 4);
    if (pe > start.size() - 6 || start.compare(pe, 4, std::string_view("PE\0\0", 4)) != 0)
        return false;
    const uint32_t machine = Number(start, pe + 4, 2);
    return machine == 0x14C || machine == 0x8664;
}

std::optional<std::string> Compress(const std::string& data, const std::function<void(uint64_t)>& progress)
{
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 9;
    props.dictSize = static_cast<UInt32>(std::max<uint64_t>(std::min<uint64_t>(kDictionary, data.size()), 1 << 12));
    props.lc = 3;
    props.lp = 0;
    props.pb = 2;
    props.algo = 1;
    props.fb = 64;
    props.btMode = 1;
    props.numHashBytes = 4;
    props.numThreads = 1;
    std::string stream(LZMA_PROPS_SIZE + data.size() + data.size() / 3 + 256, '\0');
    SizeT propsSize = LZMA_PROPS_SIZE;
    SizeT packedSize = stream.size() - LZMA_PROPS_SIZE;
    ProgressHook hook{{ReportProgress}, &progress};
    if (LzmaEncode(reinterpret_cast<Byte*>(&stream[LZMA_PROPS_SIZE]), &packedSize,
                   reinterpret_cast<const Byte*>(data.data()), data.size(), &props,
                   reinterpret_cast<Byte*>(&stream[0]), &propsSize, 0, &hook.vt, &gAllocator, &gAllocator) != SZ_OK ||
        propsSize != LZMA_PROPS_SIZE)
        return std::nullopt;
    stream.resize(LZMA_PROPS_SIZE + packedSize);
    return stream;
}

}  // namespace solid_stream
