// misstate-checksum PACKAGE NAME OUT
// Writes OUT: the unsigned single-file package PACKAGE with the checksum
// that its index records for the file NAME changed, and the header's own
// checksum made right again. The streams are whole, so the starter finds
// nothing wrong; the file decodes to other bytes than its checksum says,
// which only the reader that decodes it, in setup, can find.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "common/text/payload.h"
#include "tests/host/package_samples.h"

namespace {

int Fail(const std::string& why)
{
    std::cerr << "misstate-checksum: " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Fail("usage: misstate-checksum PACKAGE NAME OUT");
    std::ifstream in(argv[1], std::ios::binary);
    const std::string program{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    package_samples::StringSource source(program);
    std::optional<payload::Package> package = payload::ReadPackage(source, program.size());
    const std::optional<payload::ProgramLayout> layout = payload::ReadProgramLayout(program, program.size());
    if (!package || !layout)
        return Fail(std::string(argv[1]) + " holds no package");
    bool found = false;
    for (payload::Entry& entry : package->entries)
        if (payload::LowerName(entry.name) == payload::LowerName(argv[2])) {
            entry.crc ^= 1;
            found = true;
        }
    if (!found)
        return Fail(std::string(argv[1]) + " holds no file " + argv[2]);
    const std::string head = package_samples::Head(package->entries, package->streams);
    const std::string contents = program.substr(package->dataOffset, package->dataSize);
    std::ofstream out(argv[3], std::ios::binary);
    out << program.substr(0, layout->sectionsEnd) << head << contents
        << payload::End(head.size() + contents.size() + payload::kEndSize);
    return out.flush() ? 0 : Fail(std::string("cannot write ") + argv[3]);
}
