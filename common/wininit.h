// The section "rename" of Wininit.ini, which Windows 95, 98 and ME carry
// out at their next start: a line "target=source" moves source over target,
// a line "NUL=path" deletes path. Setup replaces files in use through it,
// Unskein removes them.
#pragma once

#include <optional>
#include <string>

// The value of the last line with this key; none when there is none or the
// file cannot be read.
std::optional<std::string> PendingWininitRename(const std::string& key);

// Adds a line after the section's others and keeps every other line, which
// may be other programs' pending renames. An unreadable file is left alone
// rather than overwritten with our line only. False when nothing was added.
bool AddWininitRename(const std::string& key, const std::string& value);

// Has the system delete `path`, a file or an empty folder that cannot go
// now, at the next start: a delayed deletion on Windows NT, a "NUL" line on
// Windows 95, 98 and ME, which know paths by their short names only. False
// when nothing was scheduled.
bool DeleteFileAtRestart(const std::string& path);
