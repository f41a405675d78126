#include "tesselpack/text/disk_plan.h"

#include <algorithm>

namespace {

std::vector<std::string> FolderOnDisk(int disk, const std::string& folder)
{
    std::vector<std::string> parts{"Disk" + std::to_string(disk)};
    for (size_t start = 0; start < folder.size();) {
        const size_t end = std::min(folder.find('\\', start), folder.size());
        if (end > start)
            parts.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

DiskPlan PlanDisks(const std::vector<StoredFile>& files, const DiskFormat& medium,
                   const std::vector<StoredFile>& rootFiles)
{
    DiskPlan plan;
    DiskSpace space(medium);
    for (const StoredFile& file : rootFiles) {
        const DiskSpace::Entry entry = space.Try({}, file.name);
        if (!entry.fits || space.DataUnits(file.size) > medium.units - entry.used) {
            plan.fits = false;
            return plan;
        }
        space.Add(entry, file.size);
    }
    int disk = 1;
    bool empty = rootFiles.empty();  // nothing on this disk yet
    for (size_t i = 0; i < files.size(); ++i) {
        std::vector<Piece> pieces;
        uint64_t offset = 0, left = files[i].size;
        for (;;) {
            const DiskSpace::Entry entry = space.Try(FolderOnDisk(disk, files[i].folder), files[i].name);
            const uint64_t room = entry.fits ? medium.units - entry.used : 0;
            if (entry.fits && space.DataUnits(left) <= room) {
                pieces.push_back({disk, offset, left});
                space.Add(entry, left);
                empty = false;
                break;
            }
            if (files[i].splittable && room > 0) {
                const uint64_t length = room * medium.unit;  // the piece fills the disk to its last unit
                pieces.push_back({disk, offset, length});
                space.Add(entry, length);
                offset += length;
                left -= length;
            } else if (empty) {
                plan.fits = false;
                plan.tooLarge = static_cast<int>(i);
                return plan;
            }
            plan.used.push_back(space.Used());
            space = DiskSpace(medium);
            ++disk;
            empty = true;
        }
        plan.pieces.push_back(std::move(pieces));
    }
    plan.used.push_back(space.Used());
    plan.disks = disk;
    return plan;
}
