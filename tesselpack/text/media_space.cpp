#include "tesselpack/text/media_space.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

const uint64_t kSector = 2048;
// ISO 9660 before and after the trees: the system area and the volume
// descriptors (libisofs reserves 32 sectors for them), one spare sector it
// may add, and the 150 sectors of padding that CD images get for drives
// reading ahead.
const uint64_t kIsoFixedSectors = 32 + 1 + 150;
const size_t kIsoNameMax = 31;      // level 2 and 3 identifiers
const size_t kJolietNameMax = 103;  // the longest Joliet names tools write
// The longest directory record of each tree; a record never crosses a sector.
const uint64_t kIsoRecordMax[2] = {66, 244};

std::string Upper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// A name FAT stores in its 8.3 entry alone: capitals, digits and the few
// signs DOS allows. Any other name, mixed case too, gets long-name entries
// (some systems keep lower case without them; counting them is safe).
bool IsShortName(const std::string& name)
{
    const size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 || (dot != std::string::npos && extension.empty()))
        return false;
    for (char c : base + extension)
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c)) &&
            !std::strchr("$%'-_@~`!(){}^#&", c))
            return false;
    return true;
}

// Its 32-byte entries: the short one and 13 characters in each long one
// (a byte of the name is at most one UTF-16 character).
uint64_t FatEntries(const std::string& name)
{
    return 1 + (IsShortName(name) ? 0 : (name.size() + 12) / 13);
}

// A directory record: 33 bytes, the identifier, padded to an even length.
// Files get ";1" and perhaps a "." they did not have.
uint64_t IsoRecord(size_t tree, const std::string& name, bool folder)
{
    const uint64_t id = tree == 0 ? (folder ? std::min(name.size(), kIsoNameMax)
                                            : std::min(name.size() + 1, kIsoNameMax) + 2)
                                  : 2 * (std::min(name.size(), kJolietNameMax) + (folder ? 0 : 2));
    return (33 + id + 1) & ~uint64_t{1};
}

uint64_t PathTableRecord(size_t tree, const std::string& name)
{
    const uint64_t id = tree == 0 ? std::min(name.size(), kIsoNameMax) : 2 * std::min(name.size(), kJolietNameMax);
    return 8 + id + (id & 1);
}

}  // namespace

std::optional<DiskFormat> ParseDiskSize(const std::string& text)
{
    const std::string name = Upper(text);
    static const struct {
        const char* name;
        DiskFormat medium;
    } kPresets[] = {
        // 2,880 sectors: after the boot sector, two FATs and the root's 14 sectors.
        {"FLOPPY", {FileSystem::Fat, 512, 2847, 224}},
        // 195,312 sectors, the smallest of the media sold as 100 MB, formatted
        // as their makers do: 2,048-byte clusters, 512 root slots, two FATs of 191 sectors.
        {"100MB", {FileSystem::Fat, 2048, 48724, 512}},
        {"CD650", {FileSystem::Iso9660, kSector, 333000, 0}},  // 74 minutes
        {"CD700", {FileSystem::Iso9660, kSector, 360000, 0}},  // 80 minutes
    };
    for (const auto& preset : kPresets)
        if (name == preset.name)
            return preset.medium;
    if (name.empty() || name.size() > 19 || !std::all_of(name.begin(), name.end(), ::isdigit))
        return std::nullopt;
    const uint64_t bytes = std::stoull(name);
    if (bytes == 0)
        return std::nullopt;
    return DiskFormat{FileSystem::Bytes, 1, bytes, 0};
}

DiskSpace::DiskSpace(const DiskFormat& medium)
    : medium_(medium), trees_(medium.system == FileSystem::Iso9660 ? 2 : 1)
{
    switch (medium_.system) {
    case FileSystem::Bytes:
        folders_[""] = {0};
        break;
    case FileSystem::Fat:
        folders_[""] = {32};  // the slot of a volume label
        break;
    case FileSystem::Iso9660:
        folders_[""] = {68, 68};  // "." and ".."
        pathTables_ = {10, 10};  // the root, its identifier one byte
        used_ = kIsoFixedSectors + TableUnits(pathTables_);
        break;
    }
    used_ += FolderUnits("", folders_[""]);
}

uint64_t DiskSpace::FolderUnits(const std::string& key, const std::vector<uint64_t>& bytes) const
{
    switch (medium_.system) {
    case FileSystem::Bytes:
        return 0;
    case FileSystem::Fat:
        return key.empty() ? 0 : DataUnits(bytes[0]);  // the root has its own slots
    case FileSystem::Iso9660:
        break;
    }
    uint64_t sectors = 0;
    for (size_t tree = 0; tree < trees_; ++tree) {
        const uint64_t perSector = kSector - kIsoRecordMax[tree] + 1;  // at the least, records not crossing
        sectors += bytes[tree] <= kSector ? 1 : (bytes[tree] + perSector - 1) / perSector;
    }
    return sectors;
}

// A little-endian and a big-endian copy of each tree's path table.
uint64_t DiskSpace::TableUnits(const std::vector<uint64_t>& bytes) const
{
    uint64_t sectors = 0;
    for (uint64_t b : bytes)
        sectors += 2 * ((b + kSector - 1) / kSector);
    return sectors;
}

DiskSpace::Entry DiskSpace::Try(const std::vector<std::string>& folder, const std::string& name) const
{
    Entry entry;
    entry.folder = folder;
    entry.name = name;
    entry.pathTables = pathTables_;
    auto records = [&](const std::string& key) -> std::vector<uint64_t>& {
        auto grown = entry.grown.find(key);
        if (grown == entry.grown.end())
            grown = entry.grown.emplace(key, folders_.at(key)).first;
        return grown->second;
    };
    auto grow = [&](const std::string& key, const std::string& child, bool isFolder) {
        std::vector<uint64_t>& bytes = records(key);
        if (medium_.system == FileSystem::Fat)
            bytes[0] += 32 * FatEntries(child);
        else if (medium_.system == FileSystem::Iso9660)
            for (size_t tree = 0; tree < trees_; ++tree)
                bytes[tree] += IsoRecord(tree, child, isFolder);
    };
    std::string key;
    for (const std::string& part : folder) {
        const std::string child = (key.empty() ? "" : key + "\\") + Upper(part);
        if (!folders_.count(child) && !entry.grown.count(child)) {
            grow(key, part, true);
            entry.grown[child] = std::vector<uint64_t>(trees_, medium_.system == FileSystem::Fat ? 64 : 68);
            if (medium_.system == FileSystem::Iso9660)
                for (size_t tree = 0; tree < trees_; ++tree)
                    entry.pathTables[tree] += PathTableRecord(tree, part);
        }
        key = child;
    }
    if (!name.empty())
        grow(key, name, false);

    entry.used = used_ + TableUnits(entry.pathTables) - TableUnits(pathTables_);
    for (const auto& [grownKey, bytes] : entry.grown) {
        const auto before = folders_.find(grownKey);
        entry.used += FolderUnits(grownKey, bytes) -
                      (before == folders_.end() ? 0 : FolderUnits(grownKey, before->second));
    }
    const auto root = entry.grown.find("");
    const bool rootFits = medium_.system != FileSystem::Fat || root == entry.grown.end() ||
                          root->second[0] / 32 <= medium_.rootEntries;
    entry.fits = rootFits && entry.used <= medium_.units;
    return entry;
}

void DiskSpace::Add(const Entry& entry, uint64_t size)
{
    for (const auto& [key, bytes] : entry.grown)
        folders_[key] = bytes;
    pathTables_ = entry.pathTables;
    used_ = entry.used + DataUnits(size);
}
