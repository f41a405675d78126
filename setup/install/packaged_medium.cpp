#include "setup/install/packaged_medium.h"

#include <algorithm>
#include <vector>

#include "common/file_range.h"
#include "common/handles.h"
#include "common/text/payload.h"
#include "common/unpacked_medium.h"
#include "common/whole_file.h"
#include "setup/install/file_system.h"
#include "setup/install/install_state.h"

namespace {

std::string TakeVariable(const char* name)
{
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    SetEnvironmentVariableA(name, nullptr);
    return length > 0 && length < MAX_PATH ? value : "";
}

// The index is at most kMaxIndexSize, and the reader of the streams reads
// 64 KB at most, so every read fits one call.
class PackageSource : public payload::Source {
public:
    bool ReadAt(uint64_t offset, char* buffer, size_t size) override
    {
        return ReadExactlyAt(gInstall.packagedMedium.package, offset, buffer, static_cast<DWORD>(size));
    }
};

PackageSource gSource;

[[noreturn]] void EndForDamagedPackage()
{
    gInstall.log.Flush();
    MessageBoxA(nullptr, kDamagedPackageMessage, "Setup", MB_OK | MB_ICONSTOP);
    ExitProcess(static_cast<UINT>(kExitDamagedPackage));
}

}  // namespace

void TakePackagedMedium(const std::string& startFolder)
{
    const std::string folder = FullPath(TakeVariable(kUnpackedMediumVariable));
    const std::string handles = TakeVariable(kPackageHandlesVariable);
    if (folder.empty() || lstrcmpiA(folder.c_str(), FullPath(startFolder).c_str()) != 0)
        return;
    uintptr_t values[3] = {};
    size_t at = 0;
    for (const char c : handles) {
        if (c == ' ' && at < 2)
            ++at;
        else if (c >= '0' && c <= '9')
            values[at] = values[at] * 10 + static_cast<uintptr_t>(c - '0');
        else
            return;
    }
    if (at != 2)
        return;
    PackagedMedium& medium = gInstall.packagedMedium;
    medium.package = reinterpret_cast<HANDLE>(values[0]);
    const std::optional<uint64_t> size = OpenFileSize(medium.package);
    std::optional<payload::Package> package = size ? payload::ReadPackage(gSource, *size) : std::nullopt;
    if (!package) {
        medium.package = nullptr;
        return;
    }
    medium.folder = folder;
    medium.checked = reinterpret_cast<HANDLE>(values[1]);
    medium.starter = reinterpret_cast<HANDLE>(values[2]);
    medium.contents = std::move(*package);
    const std::vector<payload::Entry>& entries = medium.contents.entries;
    for (size_t e = 0; e < entries.size(); ++e)
        if (entries[e].IsFolder())
            medium.emptyFolders[payload::LowerName(entries[e].name)] = entries[e].name;
        else if (payload::StaysInPackage(entries[e]))
            medium.files[payload::LowerName(entries[e].name)] = {entries[e].name, e, entries[e].size};
    if (!medium.contents.streams.empty())
        medium.streams.reset(new payload::SolidReader(gSource, medium.contents));
}

bool WaitForCheckedPackage(DWORD splashMs)
{
    const PackagedMedium& medium = gInstall.packagedMedium;
    const DWORD started = GetTickCount();
    if (!medium.folder.empty()) {
        const HANDLE verdicts[] = {medium.checked, medium.starter};
        if (WaitForMultipleObjects(2, verdicts, FALSE, INFINITE) != WAIT_OBJECT_0)
            return false;
    }
    const DWORD waited = GetTickCount() - started;
    if (waited < splashMs)
        Sleep(splashMs - waited);
    return true;
}

namespace {

// The path below the start folder in lower case, as the index is keyed;
// nothing for a path that lies elsewhere.
std::optional<std::string> KeyInPackage(const std::string& path)
{
    const PackagedMedium& medium = gInstall.packagedMedium;
    if (medium.folder.empty())
        return std::nullopt;
    const std::string full = FullPath(path);
    if (full.size() <= medium.folder.size() + 1 || full[medium.folder.size()] != '\\' ||
        lstrcmpiA(full.substr(0, medium.folder.size()).c_str(), medium.folder.c_str()) != 0)
        return std::nullopt;
    return payload::LowerName(full.substr(medium.folder.size() + 1));
}

// Adds `below` and the folders above it, up to the tree's top, each once.
void AddTreeFolders(const std::string& below, std::map<std::string, std::string>& folders)
{
    for (size_t slash = below.find('\\'); slash != std::string::npos; slash = below.find('\\', slash + 1))
        folders.emplace(payload::LowerName(below.substr(0, slash)), below.substr(0, slash));
    folders.emplace(payload::LowerName(below), below);
}

}  // namespace

PackagedFile* FindPackagedFile(const std::string& path)
{
    const std::optional<std::string> key = KeyInPackage(path);
    if (!key)
        return nullptr;
    PackagedMedium& medium = gInstall.packagedMedium;
    const auto found = medium.files.find(*key);
    return found != medium.files.end() && !found->second.unpacked ? &found->second : nullptr;
}

// The index is sorted by the lower-case paths, so a folder's entries follow
// one another, and a folder comes before the folders in it.
std::optional<FoundTree> FindPackagedTree(const std::string& folder, const std::string& pattern)
{
    const std::optional<std::string> key = KeyInPackage(folder);
    if (!key)
        return std::nullopt;
    const std::string prefix = *key + "\\";
    const PackagedMedium& medium = gInstall.packagedMedium;
    bool held = medium.emptyFolders.count(*key) != 0;
    std::map<std::string, std::string> folders;  // by lower-case path below `folder`
    FoundTree tree;
    for (auto at = medium.files.lower_bound(prefix);
         at != medium.files.end() && at->first.compare(0, prefix.size(), prefix) == 0; ++at) {
        const std::string below = at->second.below.substr(prefix.size());
        const size_t slash = below.rfind('\\');
        if (slash != std::string::npos)
            AddTreeFolders(below.substr(0, slash), folders);
        if (MatchesSearchPattern(pattern, below.substr(slash + 1)))
            tree.files.push_back(below);
        held = true;
    }
    for (auto at = medium.emptyFolders.lower_bound(prefix);
         at != medium.emptyFolders.end() && at->first.compare(0, prefix.size(), prefix) == 0; ++at) {
        AddTreeFolders(at->second.substr(prefix.size()), folders);
        held = true;
    }
    if (!held)
        return std::nullopt;
    for (const auto& [lower, spelled] : folders)
        tree.folders.push_back(spelled);
    return tree;
}

bool PackagedTime(const PackagedFile& file, FILETIME& time)
{
    const uint64_t written = gInstall.packagedMedium.contents.entries[file.entry].time;
    time.dwLowDateTime = static_cast<DWORD>(written);
    time.dwHighDateTime = static_cast<DWORD>(written >> 32);
    return written != 0;
}

void FollowPackagedReads(Progress* progress)
{
    gInstall.packagedMedium.readsFollower = progress;
}

namespace {

bool ReadPackagedBytes(const PackagedFile& file, uint64_t at, char* buffer, DWORD size)
{
    PackagedMedium& medium = gInstall.packagedMedium;
    const payload::Entry& entry = medium.contents.entries[file.entry];
    if (!entry.InStream())
        return gSource.ReadAt(medium.contents.dataOffset + entry.offset + at, buffer, size);
    if (at + size <= entry.head.size()) {
        std::copy_n(entry.head.data() + at, size, buffer);
        return true;
    }
    return medium.streams->Read(file.entry, at, buffer, size);
}

}  // namespace

bool ReadPackagedFile(const PackagedFile& file, uint64_t at, char* buffer, DWORD size)
{
    if (!ReadPackagedBytes(file, at, buffer, size))
        return false;
    if (Progress* follower = gInstall.packagedMedium.readsFollower)
        follower->FileReadThrough(at + size);
    return true;
}

bool UnpackPackagedFile(const std::string& path)
{
    PackagedFile* found = FindPackagedFile(path);
    if (!found)
        return true;
    PackagedFile& file = *found;
    const std::string& folder = gInstall.packagedMedium.folder;
    for (size_t slash = file.below.find('\\'); slash != std::string::npos; slash = file.below.find('\\', slash + 1))
        CreateDirectoryA((folder + "\\" + file.below.substr(0, slash)).c_str(), nullptr);
    const std::string target = folder + "\\" + file.below;
    bool written = false;
    {
        OwnedHandle out(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        std::vector<char> buffer(1 << 16);
        written = out.IsOpen();
        for (uint64_t at = 0; written && at < file.size;) {
            const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(file.size - at, buffer.size()));
            written = ReadPackagedFile(file, at, buffer.data(), chunk) &&
                      WriteAll(out.get(), std::string_view(buffer.data(), chunk));
            at += chunk;
        }
        FILETIME time;
        if (written && PackagedTime(file, time))
            SetFileTime(out.get(), nullptr, nullptr, &time);
    }
    if (!written)
        DeleteFileA(target.c_str());
    if (gInstall.packagedMedium.streams && gInstall.packagedMedium.streams->Damaged())
        EndForDamagedPackage();
    file.unpacked = written;
    return written;
}
