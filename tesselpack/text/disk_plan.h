// How the files of a medium are spread over its disks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// No limit: everything goes on disk 1.
constexpr uint64_t kUnlimitedDisk = UINT64_MAX;

// A disk size as the author writes it: a byte count, or one of the presets
// "floppy" (1.44 MB, 1,457,664 bytes), "100mb", "cd650" and "cd700"
// (ignoring case). Empty for anything else, and for 0.
std::optional<uint64_t> ParseDiskSize(const std::string& text);

struct StoredFile {
    uint64_t size;    // as stored on the medium
    bool splittable;  // may be cut into pieces on consecutive disks
};

struct Piece {
    int disk;  // from 1
    uint64_t offset, length;
};

struct DiskPlan {
    std::vector<std::vector<Piece>> pieces;  // per file, in order; one piece for a whole file
    int disks = 0;
    bool fits = true;
    int tooLarge = -1;  // when it does not fit: the file that is larger than a disk, or -1 for the root files
};

// Fills the disks in the order of the files: each disk holds at most
// `diskSize` bytes, disk 1 also the `rootSize` bytes of the files at the
// medium's root. A splittable file larger than the room left on a disk is
// cut there and goes on on the next; any other file that does not fit moves
// to the next disk whole.
DiskPlan PlanDisks(const std::vector<StoredFile>& files, uint64_t diskSize, uint64_t rootSize);
