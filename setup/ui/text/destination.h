// What the destination page computes without asking the system: the free
// space it shows, the Next gate and the path
// composed from a chosen folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The longest installation path the page takes: a path buffer of 260 bytes
// less its terminating zero.
constexpr std::size_t kMaxInstallPath = 259;

// The free space field's text: whole kilobytes and " kb" ("1048576 kb").
std::string FreeSpaceText(uint64_t freeBytes);

// The Next gate for a typed path: 1 (Next may be enabled) from three
// characters on, 0 below.
int32_t NextGateForPath(const std::string& path);

// The installation path for a folder chosen in the folder browser: the
// folder, "\", the folder name of the application (FolderNameFor) and "\". Nothing when that would be
// longer than kMaxInstallPath.
std::optional<std::string> ChosenInstallPath(const std::string& folder, const std::string& appName);

// Whether a typed installation path is a full path: a drive letter with
// its root (C:\...) or a network path (\\server\...). Anything else
// would be taken relative to the folder setup runs in.
bool IsFullPath(const std::string& path);
