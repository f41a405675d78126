// How the files of a medium are spread over its disks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tesselpack/text/media_space.h"

struct StoredFile {
    std::string folder;  // below its disk's folder, with backslashes, empty at the top
    std::string name;    // as stored on the medium; empty for the folder alone (an empty one)
    uint64_t size;       // as stored on the medium
    bool splittable;     // may be cut into pieces on consecutive disks
};

struct Piece {
    int disk;  // from 1
    uint64_t offset, length;
};

struct DiskPlan {
    std::vector<std::vector<Piece>> pieces;  // per file, in order; one piece for a whole file
    std::vector<uint64_t> used;              // per disk: the units its files and folders take on the medium
    int disks = 0;
    bool fits = true;
    int tooLarge = -1;  // when it does not fit: the file that is larger than a disk, or -1 for the root files
};

// Fills the disks in the order of the files, each file in "DiskN\folder" of
// its disk, disk 1 also with the `rootFiles` at the medium's root, each
// disk within what `medium` holds. A splittable file larger than the room
// left on a disk is cut where the disk is full, in whole units, and goes on
// on the next; any other file that does not fit moves to the next disk whole.
DiskPlan PlanDisks(const std::vector<StoredFile>& files, const DiskFormat& medium,
                   const std::vector<StoredFile>& rootFiles);
