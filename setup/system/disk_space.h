// The free space on a drive, as the system tells it.
#pragma once

#include <cstdint>
#include <string>

// Free bytes on the drive of `path` that this user may use; 0 when that
// cannot be found out (a path shorter than a drive root, a network path, a
// drive without a medium).
uint64_t GetFreeDiskSpace(const std::string& path);
