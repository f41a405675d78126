// The compressor's figures: its size against Debian's mscompress file by
// file over a corpus, and its speed on one core from 1 MB to 64 MB.
//   szdd_bench FILE...
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "tesselpack/text/szdd.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Processor seconds, so that other work on the machine counts less.
double Seconds(const std::string& data, size_t& packedSize)
{
    const std::clock_t start = std::clock();
    packedSize = CompressSzdd(reinterpret_cast<const uint8_t*>(data.data()), data.size(), '_').size();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

uint64_t MscompressSize(const fs::path& file, const fs::path& scratch)
{
    const fs::path copy = scratch / "in";
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    fs::remove(scratch / "in_");
    const std::string command = "mscompress '" + copy.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return 0;
    return fs::file_size(scratch / "in_");
}

// Text-like data of any size: words of a fixed vocabulary in random order.
std::string Prose(size_t size)
{
    std::mt19937 random(7);
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        const int length = 2 + random() % 9;
        for (int k = 0; k < length; ++k)
            word += static_cast<char>('a' + random() % 26);
        words.push_back(word);
    }
    std::string text;
    text.reserve(size + 16);
    while (text.size() < size)
        text += words[random() % words.size()] + (random() % 12 == 0 ? ".\r\n" : " ");
    text.resize(size);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path scratch = fs::temp_directory_path() / ("szdd-bench-" + std::to_string(getpid()));
    fs::create_directories(scratch);

    std::printf("%-44s %12s %12s %12s %8s\n", "file", "bytes", "mscompress", "tesselpack", "ours/ms");
    uint64_t totalIn = 0, totalTheirs = 0, totalOurs = 0;
    double seconds = 0;
    int larger = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string data = ReadBytes(argv[i]);
        size_t ours = 0;
        seconds += Seconds(data, ours);
        const uint64_t theirs = MscompressSize(argv[i], scratch);
        totalIn += data.size();
        totalTheirs += theirs;
        totalOurs += ours;
        larger += ours > theirs;
        std::printf("%-44s %12zu %12llu %12zu %7.2f%%%s\n", fs::path(argv[i]).filename().string().c_str(),
                    data.size(), static_cast<unsigned long long>(theirs), ours, theirs ? 100.0 * ours / theirs : 0.0,
                    ours > theirs ? "  LARGER" : "");
    }
    fs::remove_all(scratch);
    std::printf("%-44s %12llu %12llu %12llu %7.2f%%\n", "all files", static_cast<unsigned long long>(totalIn),
                static_cast<unsigned long long>(totalTheirs), static_cast<unsigned long long>(totalOurs),
                totalTheirs ? 100.0 * totalOurs / totalTheirs : 0.0);
    std::printf("files larger than mscompress's: %d of %d\n", larger, argc - 1);
    std::printf("corpus speed: %.1f MB/s (processor time, one core)\n\n", totalIn / 1e6 / seconds);

    std::printf("%-10s %10s %10s\n", "prose", "seconds", "MB/s");
    for (size_t megabytes : {1, 4, 16, 64}) {
        const std::string data = Prose(megabytes << 20);
        size_t packed = 0;
        const double s = Seconds(data, packed);
        std::printf("%7zu MB %10.2f %10.1f\n", megabytes, s, data.size() / 1e6 / s);
    }
    return larger > 0 ? 1 : 0;
}
