// Programs carrying packages, for the host tests and the fuzzer of the
// package reader: the smallest PE program a linker could write, and a
// program file held in memory.
#pragma once

#include <cstring>
#include <string>

#include "common/text/payload.h"

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

}  // namespace package_samples
