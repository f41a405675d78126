// The space files take on the media a disk is copied onto: whole clusters
// or sectors per file, and the folders' own entries as the file system
// stores them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class FileSystem {
    Bytes,    // counted in bytes of files, nothing else
    Fat,      // FAT12 or FAT16: clusters, folder entries with long names, a root folder of fixed size
    Iso9660,  // with Joliet names: 2,048-byte sectors, two trees of directory records and path tables
};

struct DiskFormat {
    FileSystem system = FileSystem::Bytes;
    uint64_t unit = 1;             // bytes of a cluster or sector
    uint64_t units = UINT64_MAX;   // what the medium holds for files and folders: FAT's data area, a CD's sectors
    uint32_t rootEntries = 0;      // FAT: the slots of the root folder, outside the data area
    bool Unlimited() const { return units == UINT64_MAX; }
    uint64_t Bytes() const { return unit * units; }
};

// A disk size as the author writes it: a byte count (bytes of files), or
// one of the presets "floppy", "100mb", "cd650" and "cd700" (ignoring
// case), which count as their file systems do. Empty for anything else,
// and for 0.
std::optional<DiskFormat> ParseDiskSize(const std::string& text);

// The units one disk takes on its medium, as files are added to it.
class DiskSpace {
public:
    explicit DiskSpace(const DiskFormat& medium);

    // What adding the entry `name` in `folder` (its names from the root; the
    // folders are made as needed) would do, before any of the file's data;
    // with no name, what making the folder would do.
    struct Entry {
        std::vector<std::string> folder;
        std::string name;
        bool fits = false;  // within the root's slots and the medium's units
        uint64_t used = 0;  // the disk's units with the entry
        std::map<std::string, std::vector<uint64_t>> grown;  // the folders' new record bytes per tree
        std::vector<uint64_t> pathTables;                     // ISO 9660: their new bytes per tree
    };
    Entry Try(const std::vector<std::string>& folder, const std::string& name) const;
    // Adds the tried entry with `size` bytes of data.
    void Add(const Entry& entry, uint64_t size);

    uint64_t Used() const { return used_; }
    uint64_t DataUnits(uint64_t bytes) const { return bytes / medium_.unit + (bytes % medium_.unit != 0); }

private:
    uint64_t FolderUnits(const std::string& key, const std::vector<uint64_t>& bytes) const;
    uint64_t TableUnits(const std::vector<uint64_t>& bytes) const;

    DiskFormat medium_;
    size_t trees_;  // ISO 9660 keeps a tree of its own for the Joliet names
    std::map<std::string, std::vector<uint64_t>> folders_;  // by path in capitals, "" the root
    std::vector<uint64_t> pathTables_;
    uint64_t used_ = 0;
};
