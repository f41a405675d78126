#include "setup/system/disk_space.h"

#include <windows.h>

#include "setup/system/text/disk_space.h"

uint64_t GetFreeDiskSpace(const std::string& path)
{
    const std::string root = FreeSpaceRoot(path);
    if (root.empty())
        return 0;
    // Looked up at run time: the first releases of Windows 95 lack it.
    using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    const auto freeSpaceEx = reinterpret_cast<FreeSpaceEx>(
        GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetDiskFreeSpaceExA"));
    if (freeSpaceEx) {
        ULARGE_INTEGER available, total, totalFree;
        return freeSpaceEx(root.c_str(), &available, &total, &totalFree) ? available.QuadPart : 0;
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    return ClusterFreeBytes(sectorsPerCluster, bytesPerSector, freeClusters);
}
