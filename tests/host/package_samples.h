// Programs carrying packages, for the host tests and the fuzzer of the
// package reader: the smallest PE program a linker could write, and a
// program file held in memory.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "common/text/payload.h"
#include "common/text/x86_filter.h"
#include "tesselpack/text/solid_stream.h"

namespace package_samples {

// A 32-bit PE program with one section of 512 bytes that ends at 1024.
inline std::string SmallProgram()
{
    std::string program(1024, '\0');
    auto put = [&](size_t at, uint32_t value, size_t width) {
        for (size_t i = 0; i < width; ++i)
            program[at + i] = static_cast<char>(value >> (8 * i));
    };
    program[0] = 'M', program[1] = 'Z';
    put(0x3C, 0x40, 4);
    std::memcpy(&program[0x40], "PE\0\0", 4);
    put(0x44, 0x14C, 2);        // i386
    put(0x46, 1, 2);            // sections
    put(0x54, 0xE0, 2);         // optional header size
    put(0x58, 0x10B, 2);        // PE32
    put(0x58 + 92, 16, 4);      // data directories
    put(0x138 + 16, 0x200, 4);  // the section's size in the file
    put(0x138 + 20, 0x200, 4);  // and its place
    return program;
}

class StringSource : public payload::Source {
public:
    explicit StringSource(const std::string& bytes) : bytes_(bytes) {}
    bool ReadAt(uint64_t offset, char* buffer, size_t size) override
    {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            return false;
        std::memcpy(buffer, bytes_.data() + offset, size);
        return true;
    }

private:
    const std::string& bytes_;
};

// The package as the starter takes it in the end: read, and every file's
// checksum checked (the starter checks its top files as it unpacks them,
// the others while setup starts).
inline std::optional<payload::Package> CheckedPackage(const std::string& program)
{
    StringSource source(program);
    std::optional<payload::Package> package = payload::ReadPackage(source, program.size());
    if (!package || !payload::CheckContents(source, *package, [](const payload::Entry&) { return true; }, nullptr))
        return std::nullopt;
    return package;
}

// The header and the stored index, as tesselpack writes them.
inline std::string Head(const std::vector<payload::Entry>& entries, const std::vector<payload::Stream>& streams = {})
{
    const std::string index = payload::IndexBytes(entries, streams);
    return payload::HeaderAndIndex(entries, streams, index.size(), *solid_stream::Compress(index, [](uint64_t) {}));
}

struct SampleFile {
    std::string name;
    std::string bytes;
};

// The small program with a solid package of the files: those in folders in
// LZMA streams of about `streamSize` bytes each, programs filtered.
inline std::string SolidProgram(const std::vector<SampleFile>& files, size_t streamSize)
{
    std::vector<payload::Entry> entries;
    std::string stored;
    std::vector<std::string> unpacked;
    for (const SampleFile& file : files) {
        payload::Entry entry{file.name, file.bytes.size(), payload::Crc32(0, file.bytes.data(), file.bytes.size())};
        if (payload::StaysInPackage(entry)) {
            entry.flags = payload::kInStream | (solid_stream::IsX86Program(file.bytes) ? payload::kX86Filtered : 0);
            entry.head = file.bytes.substr(0, payload::kHeadSize);
            if (!file.bytes.empty() && (unpacked.empty() || unpacked.back().size() >= streamSize))
                unpacked.emplace_back();
            std::string bytes = file.bytes;
            if (entry.flags & payload::kX86Filtered)
                x86_filter::Encode(reinterpret_cast<uint8_t*>(&bytes[0]), bytes.size(), 0, true);
            if (!unpacked.empty())
                unpacked.back() += bytes;
        } else {
            stored += file.bytes;
        }
        entries.push_back(entry);
    }
    std::vector<payload::Stream> streams;
    std::string packed;
    for (const std::string& data : unpacked) {
        const std::string stream = *solid_stream::Compress(data, [](uint64_t) {});
        streams.push_back({stream.size(), data.size(), payload::Crc32(0, stream.data(), stream.size())});
        packed += stream;
    }
    const std::string head = Head(entries, streams);
    return SmallProgram() + head + stored + packed +
           payload::End(head.size() + stored.size() + packed.size() + payload::kEndSize);
}

}  // namespace package_samples
