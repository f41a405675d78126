// Path and name computations of the installation engine that need nothing
// from the platform.
#pragma once

#include <cstdint>
#include <string>

// Removes the second of every two adjacent backslashes in one left-to-right
// scan (a run of n becomes n/2 rounded up), so that "[DP]\file" with DP
// ending in a backslash gets a single separator. The two backslashes that
// open a network path stay.
void CollapseBackslashes(std::string& text);

// The text after the last backslash; the whole text when it has none.
std::string LastPathComponent(const std::string& path);

// The directory that holds `path` (trailing backslashes ignored), keeping
// the backslash of a drive root ("C:\a" gives "C:\"); empty when there is
// none.
std::string ParentDirectory(const std::string& path);

// The old-style 8.3 alias of the file name, without extension: the name is
// cut at its first dot, and a name longer than 8 characters becomes its
// first 6 characters and "~1". The directory part stays as it is.
void MakeShortAlias(std::string& path);

// Where the pieces of a spread file are joined: "<windows>\TEMP\<last
// component of the destination>.ToInstall.TMP".
std::string JoinedFilePath(const std::string& windowsDirectory, const std::string& destination);

// A Wininit.ini key for a destination whose short path cannot be had: its
// alias with the destination's own extension (at most 3 characters).
std::string AliasRenameKey(const std::string& destination);

// "Please insert disk <n> in order to continue setup. ..."
std::string DiskPromptText(int16_t disk);
