// tesselpack: turns an installation script and the files it names into a
// finished medium: setup.exe, the uninstaller and the script at its root,
// the files over Disk1, Disk2 ..., compressed where that saves room, cut
// into pieces where a disk is full, and the script's AddFile lines
// rewritten to match.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tesselpack/pack.h"
#include "tesselpack/text/media_space.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char kUsage[] =
    "usage: tesselpack SCRIPT --from STAGING --single-file PROGRAM.exe [--compress all|none|PATTERNS]\n"
    "       tesselpack SCRIPT --from STAGING --out MEDIUM [--disk-size SIZE] [--compress all|none|PATTERNS]\n"
    "Writes the installation of SCRIPT and the files it installs, found in STAGING as [SP]: as one program,\n"
    "PROGRAM.exe, that unpacks the medium and runs setup, or as a medium in MEDIUM (a new or empty folder).\n"
    "SIZE is a byte count or floppy, 100mb, cd650, cd700; without it all files go on one disk. PATTERNS name\n"
    "the files to compress, separated by commas (*.txt,*.dll); the default is all, and for a single file\n"
    "all files in one solid LZMA package (--compress keeps SZDD per file).\n"
    "Exit status: 0 done, 1 done with warnings about the script, 2 errors, 3 the run could not start.\n";

ExitStatus CannotRun(const std::string& why)
{
    std::fprintf(stderr, "tesselpack: %s\n", why.c_str());
    return kCannotRun;
}

// setup.exe, Unskein.exe and starter.exe come with tesselpack, in its own folder.
std::string ProgramFolder(const char* argv0)
{
#ifdef _WIN32
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return std::filesystem::path(path).parent_path().string();
#else
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path().string();
#endif
    return std::filesystem::path(argv0).parent_path().string();
}

std::vector<std::string> SplitPatterns(const std::string& list)
{
    std::vector<std::string> patterns;
    size_t start = 0;
    for (size_t i = 0; i <= list.size(); ++i) {
        if (i == list.size() || list[i] == ',' || list[i] == ';') {
            if (i > start)
                patterns.push_back(list.substr(start, i - start));
            start = i + 1;
        }
    }
    return patterns;
}

}  // namespace

int main(int argc, char** argv)
{
    PackRequest request;
    std::string singleFile;
    bool diskSizeGiven = false;
    bool compressGiven = false;
    request.programs = ProgramFolder(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kClean;
        }
        if (arg == "--from" && hasValue) {
            request.staging = argv[++i];
        } else if (arg == "--out" && hasValue) {
            request.medium = argv[++i];
        } else if (arg == "--single-file" && hasValue) {
            singleFile = argv[++i];
        } else if (arg == "--disk-size" && hasValue) {
            const std::optional<DiskFormat> disk = ParseDiskSize(argv[++i]);
            if (!disk)
                return CannotRun(std::string("the disk size '") + argv[i] +
                                 "' is neither a byte count nor floppy, 100mb, cd650 or cd700");
            request.disk = *disk;
            diskSizeGiven = true;
        } else if (arg == "--compress" && hasValue) {
            const std::string choice = argv[++i];
            compressGiven = true;
            request.compressAll = choice == "all";
            if (choice != "all" && choice != "none") {
                request.compressPatterns = SplitPatterns(choice);
                if (request.compressPatterns.empty())
                    return CannotRun("--compress needs all, none or file name patterns such as *.txt,*.dll");
            }
        } else if (request.script.empty() && !arg.empty() && arg[0] != '-') {
            request.script = arg;
        } else {
            return CannotRun("unexpected argument '" + arg + "'\n" + kUsage);
        }
    }
    if (!singleFile.empty()) {
        if (!request.medium.empty() || diskSizeGiven)
            return CannotRun("--single-file makes one program of one disk: leave out --out and --disk-size");
        if (request.script.empty() || request.staging.empty())
            return CannotRun(std::string("SCRIPT and --from are both needed\n") + kUsage);
        request.solid = !compressGiven;
        return PackSingleFile(request, singleFile);
    }
    if (request.script.empty() || request.staging.empty() || request.medium.empty())
        return CannotRun(std::string("SCRIPT, --from and --out (or --single-file) are all needed\n") + kUsage);
    return Pack(request);
}
