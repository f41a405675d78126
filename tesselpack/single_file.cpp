// --single-file: the medium of one disk, made as --out makes it in a work
// folder beside the program, then written as the starter followed by the
// package of the medium's files. Only the finished program stays.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>
#ifdef _GLIBCXX_HAS_GTHREADS
#include <mutex>
#include <thread>
using ProgressMutex = std::mutex;
#else
// The Windows build's runtime has no threads: one stream after another.
struct ProgressMutex {
    void lock() {}
    void unlock() {}
};
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "common/text/payload.h"
#include "common/text/x86_filter.h"
#include "tesselpack/pack.h"
#include "tesselpack/text/solid_stream.h"

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

// The medium's files in a fixed order, each with its size and checksum,
// and its empty folders (an AddFolder tree's), which no file's path names.
std::optional<std::vector<MediumFile>> ReadMedium(const fs::path& medium)
{
    std::vector<MediumFile> files;
    for (const fs::directory_entry& found : fs::recursive_directory_iterator(medium)) {
        const bool emptyFolder = found.is_directory() && fs::is_empty(found.path());
        if (!found.is_regular_file() && !emptyFolder)
            continue;
        std::string name = found.path().lexically_relative(medium).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        files.push_back({found.path(), {name, 0, 0, LastWriteTime(found.path())}});
        files.back().entry.flags = emptyFolder ? payload::kFolder : 0;
    }
    std::sort(files.begin(), files.end(),
              [](const MediumFile& a, const MediumFile& b) { return a.entry.name < b.entry.name; });
    std::vector<char> buffer(1 << 20);
    for (MediumFile& file : files) {
        if (!payload::IsSafeName(file.entry.name))
            return std::nullopt;
        if (file.entry.IsFolder())
            continue;
        std::ifstream in(file.path, std::ios::binary);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const size_t got = static_cast<size_t>(in.gcount());
            file.entry.crc = payload::Crc32(file.entry.crc, buffer.data(), got);
            file.entry.size += got;
        }
        if (!in.eof())
            return std::nullopt;
    }
    return files;
}

// Setup installs the files in the order of the script: so they follow one
// another in the package, after the files at the top.
void PutInScriptOrder(std::vector<MediumFile>& files, const std::vector<std::string>& written)
{
    std::map<std::string, size_t> place;
    for (size_t i = 0; i < written.size(); ++i)
        place.emplace(written[i], i + 1);
    const auto rank = [&](const MediumFile& file) {
        const auto found = place.find(file.entry.name);
        return found == place.end() ? 0 : found->second;
    };
    std::stable_sort(files.begin(), files.end(),
                     [&](const MediumFile& a, const MediumFile& b) { return rank(a) < rank(b); });
}

// A stream is where setup can start to decode, and the streams are
// compressed side by side, but each starts with an empty dictionary. So a
// new one starts where the files change between programs and the rest, as
// a product's folders do, where LZMA finds little to share across (1.6 KB
// lost on 111 MB of libraries and documents, against 96 KB for a cut
// among the libraries), once the stream holds kMinStreamSize; and in any
// case after kMaxStreamSize, which bounds what a section left out costs to
// skip.
constexpr uint64_t kMinStreamSize = 32u << 20;
constexpr uint64_t kMaxStreamSize = 256u << 20;

struct PlannedStream {
    size_t first = 0, end = 0;  // the files in it
    uint64_t size = 0;
};

// Puts the files into streams, each with its first bytes in the index and
// the x86 filter for programs: the files at the top in a stream of their
// own, which the starter decodes, the medium's folders in the rest.
std::optional<std::vector<PlannedStream>> PlanStreams(std::vector<MediumFile>& files)
{
    std::vector<PlannedStream> streams;
    bool topStream = false, programs = false;
    for (size_t f = 0; f < files.size(); ++f) {
        payload::Entry& entry = files[f].entry;
        if (entry.IsFolder())
            continue;
        std::string start(4096, '\0');
        std::ifstream in(files[f].path, std::ios::binary);
        in.read(&start[0], static_cast<std::streamsize>(start.size()));
        start.resize(static_cast<size_t>(in.gcount()));
        if (in.bad())
            return std::nullopt;
        entry.flags = payload::kInStream | (solid_stream::IsX86Program(start) ? payload::kX86Filtered : 0);
        entry.head = start.substr(0, payload::kHeadSize);
        if (entry.size == 0)
            continue;
        const bool top = !payload::StaysInPackage(entry);
        const bool program = (entry.flags & payload::kX86Filtered) != 0;
        if (streams.empty() || top != topStream || streams.back().size >= kMaxStreamSize ||
            (program != programs && streams.back().size >= kMinStreamSize))
            streams.push_back({f, f, 0});
        topStream = top;
        programs = program;
        streams.back().end = f + 1;
        streams.back().size += entry.size;
    }
    return streams;
}

// Prints how far the compression is, from any thread.
class PackingProgress {
public:
    PackingProgress(size_t streams, uint64_t total) : done_(streams, 0), total_(total) {}
    void Report(size_t stream, uint64_t done)
    {
        mutex_.lock();
        done_[stream] = done;
        uint64_t all = 0;
        for (uint64_t d : done_)
            all += d;
        const uint64_t mb = all >> 20;
        if (mb >= shown_ + 4) {
            shown_ = mb;
            Print(mb);
        }
        mutex_.unlock();
    }
    void Finish() const { Print((total_ + (1 << 20) - 1) >> 20); }

private:
    void Print(uint64_t mb) const
    {
        std::fprintf(stderr, "tesselpack: compressing the package: %llu of %llu MB\n",
                     static_cast<unsigned long long>(mb),
                     static_cast<unsigned long long>((total_ + (1 << 20) - 1) >> 20));
    }

    ProgressMutex mutex_;
    std::vector<uint64_t> done_;
    uint64_t total_;
    uint64_t shown_ = 0;
};

std::optional<std::string> CompressStream(const std::vector<MediumFile>& files, const PlannedStream& plan,
                                          size_t index, PackingProgress& progress)
{
    std::string data;
    data.reserve(plan.size);
    for (size_t f = plan.first; f < plan.end; ++f) {
        if (!files[f].entry.InStream())
            continue;
        const std::optional<std::string> bytes = ReadBytes(files[f].path);
        if (!bytes || bytes->size() != files[f].entry.size)
            return std::nullopt;
        const size_t at = data.size();
        data += *bytes;
        if (files[f].entry.flags & payload::kX86Filtered)
            x86_filter::Encode(reinterpret_cast<uint8_t*>(&data[at]), bytes->size(), 0, true);
    }
    return solid_stream::Compress(data, [&](uint64_t done) { progress.Report(index, done); });
}

// The streams, compressed on every core.
std::optional<std::vector<std::string>> CompressStreams(const std::vector<MediumFile>& files,
                                                        const std::vector<PlannedStream>& plans)
{
    uint64_t total = 0;
    for (const PlannedStream& plan : plans)
        total += plan.size;
    PackingProgress progress(plans.size(), total);
    std::vector<std::optional<std::string>> packed(plans.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t s; (s = next++) < plans.size();)
            packed[s] = CompressStream(files, plans[s], s, progress);
    };
#ifdef _GLIBCXX_HAS_GTHREADS
    std::vector<std::thread> helpers;
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (size_t t = 1; t < std::min(cores, plans.size()); ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
#else
    work();
#endif
    progress.Finish();
    std::vector<std::string> streams;
    for (std::optional<std::string>& stream : packed) {
        if (!stream)
            return std::nullopt;
        streams.push_back(std::move(*stream));
    }
    return streams;
}

// The starter, the header and index, the files stored as they are, the
// streams and the end.
bool WriteProgram(const fs::path& to, const std::string& starter, const std::vector<MediumFile>& files,
                  const std::vector<PlannedStream>& plans, const std::vector<std::string>& streams)
{
    std::vector<payload::Entry> entries;
    std::vector<payload::Stream> table;
    for (const MediumFile& file : files)
        entries.push_back(file.entry);
    for (size_t s = 0; s < streams.size(); ++s)
        table.push_back({streams[s].size(), plans[s].size, payload::Crc32(0, streams[s].data(), streams[s].size()), 0});
    const std::string index = payload::IndexBytes(entries, table);
    const std::optional<std::string> packedIndex = solid_stream::Compress(index, [](uint64_t) {});
    if (!packedIndex)
        return false;
    const std::string head = payload::HeaderAndIndex(entries, table, index.size(), *packedIndex);
    uint64_t packageSize = head.size() + payload::kEndSize;
    std::ofstream out(to, std::ios::binary);
    out << starter << head;
    for (const MediumFile& file : files) {
        if (file.entry.InStream() || file.entry.IsFolder())
            continue;
        std::ifstream in(file.path, std::ios::binary);
        out << in.rdbuf();
        packageSize += file.entry.size;
    }
    for (const std::string& stream : streams) {
        out << stream;
        packageSize += stream.size();
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
    if (request.solid)
        request.compressAll = false;
    std::vector<std::string> written;
    const ExitStatus status = Pack(request, &written);
    if (status != kClean && status != kWarnings)
        return status;

    std::optional<std::vector<MediumFile>> files = ReadMedium(work);
    if (!files)
        return Stop(kCannotRun, "cannot read back the medium written in '" + work.string() + "'");
    std::vector<PlannedStream> plans;
    std::vector<std::string> streams;
    if (request.solid) {
        PutInScriptOrder(*files, written);
        std::optional<std::vector<PlannedStream>> planned = PlanStreams(*files);
        std::optional<std::vector<std::string>> packed =
            planned ? CompressStreams(*files, *planned) : std::nullopt;
        if (!packed)
            return Stop(kCannotRun, "cannot compress the medium written in '" + work.string() + "'");
        plans = std::move(*planned);
        streams = std::move(*packed);
    }
    Scratch partial{out + ".tesselpack-partial"};
    if (!WriteProgram(partial.path, *starter, *files, plans, streams))
        return Stop(kCannotRun, "cannot write '" + partial.path.string() + "'");
    fs::rename(partial.path, out, error);
    if (error)
        return Stop(kCannotRun, "cannot write '" + out + "': " + error.message());
    const auto fileCount = std::count_if(files->begin(), files->end(),
                                         [](const MediumFile& file) { return !file.entry.IsFolder(); });
    std::printf("tesselpack: wrote '%s', %llu bytes: the starter and a package of %zu files\n", out.c_str(),
                static_cast<unsigned long long>(fs::file_size(out)), static_cast<size_t>(fileCount));
    if (!plans.empty()) {
        uint64_t unpacked = 0, packed = 0;
        for (size_t s = 0; s < plans.size(); ++s) {
            unpacked += plans[s].size;
            packed += streams[s].size();
        }
        std::printf("tesselpack: the files in Disk1 in %zu LZMA stream%s: %llu bytes, %llu compressed (%.1f%%)\n",
                    plans.size(), plans.size() == 1 ? "" : "s", static_cast<unsigned long long>(unpacked),
                    static_cast<unsigned long long>(packed), 100.0 * static_cast<double>(packed) / static_cast<double>(unpacked));
    }
    return status;
}
