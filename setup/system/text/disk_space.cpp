#include "setup/system/text/disk_space.h"

std::string FreeSpaceRoot(const std::string& path)
{
    return path.size() < 3 ? std::string() : path.substr(0, 3);
}

uint64_t ClusterFreeBytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters)
{
    return uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}
