// The starter's package reader on any bytes after a program's section, and
// on any program headers: it refuses or accepts, never reads outside the
// file, and what it accepts names only files inside the folder, and folders
// without content that nothing unpacks. The files
// in LZMA streams are decoded whether or not the streams' checksums hold:
// the decoder never reads outside its input, and a file read whole always
// has the bytes its checksum says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text/payload.h"
#include "common/text/solid_reader.h"
#include "tests/host/package_samples.h"

namespace {

// Streams are decoded up to this size: a few bytes of LZMA can stand for gigabytes.
constexpr uint64_t kMaxDecoded = 1 << 20;

void DecodeStreams(const std::string& program)
{
    package_samples::StringSource source(program);
    const std::optional<payload::Package> package = payload::ReadPackage(source, program.size());
    if (!package)
        return;
    payload::SolidReader reader(source, *package);
    std::string bytes;
    for (size_t e = 0; e < package->entries.size(); ++e) {
        const payload::Entry& entry = package->entries[e];
        if (!entry.InStream() || package->streams[entry.stream].unpackedSize > kMaxDecoded)
            continue;
        bytes.assign(entry.size, '\0');
        if (reader.Read(e, 0, &bytes[0], bytes.size()) && payload::Crc32(0, bytes.data(), bytes.size()) != entry.crc)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Mostly a package after valid headers; sometimes headers of its own.
    const std::string program = size > 0 && data[0] == 'M' ? input : package_samples::SmallProgram() + input;
    const std::optional<payload::Package> package = package_samples::CheckedPackage(program);
    if (package)
        for (const payload::Entry& entry : package->entries)
            if (!payload::IsSafeName(entry.name) || (!entry.InStream() && entry.size > program.size()) ||
                (entry.IsFolder() && (entry.size != 0 || !payload::StaysInPackage(entry))))
                std::abort();
    DecodeStreams(program);
    return 0;
}
