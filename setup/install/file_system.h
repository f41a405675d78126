// The file system operations that the installation engine shares.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/system_paths.h"
#include "common/whole_file.h"

// Makes `path` a directory, creating missing parents too. Returns 0 when it
// was a directory already, 1 when this call created it, -1 when it could
// not be created. `created` receives every directory this call created,
// parents first, each as it was created (the last is `path` itself as
// given), also when a later level failed.
int EnsureDirectory(const std::string& path, std::vector<std::string>& created);

// Creates the Windows directory's TEMP subdirectory if it is missing, so
// that joined and deferred files have somewhere to go.
void EnsureWindowsTempDirectory();

// The full path without "." and ".." parts and without a trailing backslash
// (but a drive's root); empty when it does not fit the system's calls.
std::string FullPath(const std::string& path);

// The 8.3 form of an existing path, as the system gives it.
std::optional<std::string> ShortPath(const std::string& path);
