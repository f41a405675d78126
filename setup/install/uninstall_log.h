// Opening the uninstall log of the installation run.
#pragma once

#include <string>
#include <vector>

// Creates or truncates the log at `path` with its header dated today (local
// time). False when it cannot be created; later writes are then dropped.
bool OpenUninstallLog(const std::string& path);

// A DIR record for each directory, in order (EnsureDirectory lists them
// parents first).
void LogCreatedDirectories(const std::vector<std::string>& directories);
