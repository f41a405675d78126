#include "setup/ui/text/destination.h"

std::string FreeSpaceRoot(const std::string& path)
{
    return path.size() < 3 ? std::string() : path.substr(0, 3);
}

uint64_t ClusterFreeBytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters)
{
    return uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}

std::string FreeSpaceText(uint64_t freeBytes)
{
    return std::to_string(static_cast<int64_t>(freeBytes) / 1024) + " kb";
}

int32_t NextGateForPath(const std::string& path)
{
    return path.size() >= 3 ? 1 : 0;
}

std::optional<std::string> ChosenInstallPath(const std::string& folder, const std::string& appName)
{
    std::string path = folder + "\\" + appName + "\\";
    if (path.size() > kMaxInstallPath)
        return std::nullopt;
    return path;
}
