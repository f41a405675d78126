// Opening the uninstall log of the installation run.
#pragma once

#include <string>
#include <vector>

// Creates the log at `path` with its header dated today (local time),
// carrying forward the records of the log that was there: a reinstall or an
// upgrade of the product whose uninstall key is `keyPath` keeps what the
// earlier version installed, and another product's log is kept whole with
// its key, since the folder's one Unskein.exe reads one log. False when it
// cannot be created; later writes are then dropped.
bool OpenUninstallLog(const std::string& path, const std::string& keyPath);

// A DIR record for each directory, in order (EnsureDirectory lists them
// parents first).
void LogCreatedDirectories(const std::vector<std::string>& directories);
