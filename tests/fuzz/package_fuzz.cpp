// The starter's package reader on any bytes after a program's section, and
// on any program headers: it refuses or accepts, never reads outside the
// file, and what it accepts names only files inside the folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text/payload.h"
#include "tests/host/package_samples.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Mostly a package after valid headers; sometimes headers of its own.
    const std::string program = size > 0 && data[0] == 'M' ? input : package_samples::SmallProgram() + input;
    const std::optional<payload::Package> package = package_samples::CheckedPackage(program);
    if (package)
        for (const payload::Entry& entry : package->entries)
            if (!payload::IsSafeName(entry.name) || entry.size > program.size())
                std::abort();
    return 0;
}
