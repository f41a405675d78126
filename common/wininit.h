// Wininit.ini, through which Windows 95, 98 and ME rename and delete files
// at the next start, and the deletion at the next start on every Windows.
#pragma once

#include <string>

#include "common/text/ini_file.h"

// Reads the file into `wininit`, created empty when missing; false when it
// cannot be read, which must then be left alone rather than overwritten with
// our lines only: that would drop other programs' pending renames.
bool ReadWininit(IniFile& wininit);

// Writes it back whole, never half.
bool WriteWininit(const IniFile& wininit);

// Has the system delete `path`, which is in use, at the next start: a
// delayed deletion on Windows NT, a "NUL" line of the section "rename" of
// Wininit.ini on Windows 95, 98 and ME. False when nothing was scheduled.
bool DeleteFileAtRestart(const std::string& path);
