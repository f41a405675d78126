// What measuring a drive's free space computes without asking the system.
#pragma once

#include <cstdint>
#include <string>

// The root whose free space is measured: the first three characters of the
// path ("C:\\" for a path on drive C:), or "" when the path is shorter.
std::string FreeSpaceRoot(const std::string& path);

// Free bytes from the classic cluster figures, which the platform gives on
// systems without the 64-bit query. Multiplied in 64 bits: a drive with more
// than 4 GB free must not show a wrapped-around figure.
uint64_t ClusterFreeBytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t freeClusters);
