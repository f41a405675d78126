// --single-file: the medium of one disk, made as --out makes it in a work
// folder beside the program, then written as the starter followed by the
// package of the medium's files. Only the finished program stays.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "common/text/payload.h"
#include "tesselpack/pack.h"

namespace fs = std::filesystem;

namespace {

const char kStarter[] = "starter.exe";

ExitStatus Stop(ExitStatus status, const std::string& why)
{
    std::fprintf(stderr, "tesselpack: %s\n", why.c_str());
    return status;
}

std::optional<std::string> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof())
        return std::nullopt;
    return bytes;
}

// Removes a folder or file of this run when it goes, whatever happened.
struct Scratch {
    fs::path path;
    ~Scratch()
    {
        std::error_code error;
        fs::remove_all(path, error);
    }
};

struct MediumFile {
    fs::path path;
    payload::Entry entry;
};

// The file's last write time as a FILETIME, which the index records; 0 when
// it cannot be read.
uint64_t LastWriteTime(const fs::path& path)
{
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
#else
    constexpr int64_t kUnixEpoch = 116444736000000000;  // 1970-01-01 in 100 ns steps from 1601-01-01
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return 0;
    const int64_t time =
        static_cast<int64_t>(status.st_mtim.tv_sec) * 10000000 + status.st_mtim.tv_nsec / 100 + kUnixEpoch;
    return time > 0 ? static_cast<uint64_t>(time) : 0;
#endif
}

// The medium's files in a fixed order, each with its size and checksum.
std::optional<std::vector<MediumFile>> ReadMedium(const fs::path& medium)
{
    std::vector<MediumFile> files;
    for (const fs::directory_entry& found : fs::recursive_directory_iterator(medium)) {
        if (!found.is_regular_file())
            continue;
        std::string name = found.path().lexically_relative(medium).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        files.push_back({found.path(), {name, 0, 0, LastWriteTime(found.path())}});
    }
    std::sort(files.begin(), files.end(),
              [](const MediumFile& a, const MediumFile& b) { return a.entry.name < b.entry.name; });
    std::vector<char> buffer(1 << 20);
    for (MediumFile& file : files) {
        std::ifstream in(file.path, std::ios::binary);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const size_t got = static_cast<size_t>(in.gcount());
            file.entry.crc = payload::Crc32(file.entry.crc, buffer.data(), got);
            file.entry.size += got;
        }
        if (!in.eof() || !payload::IsSafeName(file.entry.name))
            return std::nullopt;
    }
    return files;
}

bool WriteProgram(const fs::path& to, const std::string& starter, const std::vector<MediumFile>& files)
{
    std::vector<payload::Entry> entries;
    for (const MediumFile& file : files)
        entries.push_back(file.entry);
    const std::string head = payload::HeaderAndIndex(entries);
    uint64_t packageSize = head.size() + payload::kEndSize;
    std::ofstream out(to, std::ios::binary);
    out << starter << head;
    for (const MediumFile& file : files) {
        std::ifstream in(file.path, std::ios::binary);
        out << in.rdbuf();
        packageSize += file.entry.size;
    }
    out << payload::End(packageSize);
    out.flush();
    return out && fs::file_size(to) == starter.size() + packageSize;
}

}  // namespace

ExitStatus PackSingleFile(PackRequest request, const std::string& out)
{
    const fs::path starterPath = fs::path(request.programs) / kStarter;
    std::error_code error;
    if (!fs::is_regular_file(starterPath, error))
        return Stop(kCannotRun, std::string(kStarter) + " is not in '" + request.programs +
                                    "', where tesselpack takes it from");
    const std::optional<std::string> starterBytes = ReadBytes(starterPath);
    const std::optional<std::string> starter = starterBytes ? payload::BareProgram(*starterBytes) : std::nullopt;
    if (!starter)
        return Stop(kCannotRun, "'" + starterPath.string() + "' is no Windows program");
    if (fs::is_directory(out, error))
        return Stop(kCannotRun, "'" + out + "' is a folder, not the program to write");

    const fs::path work = out + ".tesselpack-work";
    if (fs::exists(work, error))
        return Stop(kCannotRun, "'" + work.string() + "' is in the way: remove what an interrupted run left there");
    Scratch medium{work};
    request.medium = work.string();
    request.shownAs = out;
    request.disk = DiskFormat{};
    const ExitStatus status = Pack(request);
    if (status != kClean && status != kWarnings)
        return status;

    const std::optional<std::vector<MediumFile>> files = ReadMedium(work);
    if (!files)
        return Stop(kCannotRun, "cannot read back the medium written in '" + work.string() + "'");
    Scratch partial{out + ".tesselpack-partial"};
    if (!WriteProgram(partial.path, *starter, *files))
        return Stop(kCannotRun, "cannot write '" + partial.path.string() + "'");
    fs::rename(partial.path, out, error);
    if (error)
        return Stop(kCannotRun, "cannot write '" + out + "': " + error.message());
    std::printf("tesselpack: wrote '%s', %llu bytes: the starter and a package of %zu files\n", out.c_str(),
                static_cast<unsigned long long>(fs::file_size(out)), files->size());
    return status;
}
