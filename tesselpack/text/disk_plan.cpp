#include "tesselpack/text/disk_plan.h"

#include <algorithm>
#include <cctype>

std::optional<uint64_t> ParseDiskSize(const std::string& text)
{
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const struct {
        const char* name;
        uint64_t bytes;
    } kPresets[] = {
        {"floppy", 1457664},     // 2,847 sectors of 512 bytes: what a formatted 1.44 MB disk holds
        {"100mb", 100000000},    // the smallest of the media sold as 100 MB
        {"cd650", 681984000},    // 333,000 sectors of 2,048 bytes
        {"cd700", 737280000},    // 360,000 sectors
    };
    for (const auto& preset : kPresets)
        if (lower == preset.name)
            return preset.bytes;
    if (lower.empty() || lower.size() > 19 || !std::all_of(lower.begin(), lower.end(), ::isdigit))
        return std::nullopt;
    const uint64_t bytes = std::stoull(lower);
    if (bytes == 0)
        return std::nullopt;
    return bytes;
}

DiskPlan PlanDisks(const std::vector<StoredFile>& files, uint64_t diskSize, uint64_t rootSize)
{
    DiskPlan plan;
    if (rootSize > diskSize) {
        plan.fits = false;
        return plan;
    }
    int disk = 1;
    uint64_t room = diskSize - rootSize;
    for (size_t i = 0; i < files.size(); ++i) {
        std::vector<Piece> pieces;
        uint64_t offset = 0, left = files[i].size;
        for (;;) {
            if (left <= room) {
                pieces.push_back({disk, offset, left});
                room -= left;
                break;
            }
            if (files[i].splittable && room > 0) {
                pieces.push_back({disk, offset, room});
                offset += room;
                left -= room;
            } else if (!files[i].splittable && left > diskSize) {
                plan.fits = false;
                plan.tooLarge = static_cast<int>(i);
                return plan;
            }
            ++disk;
            room = diskSize;
        }
        plan.pieces.push_back(std::move(pieces));
    }
    plan.disks = disk;
    return plan;
}
