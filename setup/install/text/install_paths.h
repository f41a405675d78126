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

// Whether a file `name` in `directory` fits the version-installation
// call's buffers of 260 bytes, with room in the directory for the
// temporary copy of up to 12 characters that the call makes there.
bool TargetFits(const std::string& directory, const std::string& name);

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

// The name of the file in which the pieces of a spread file are joined:
// "<last component of the destination>.ToInstall.TMP".
std::string JoinedFileName(const std::string& destination);

// The name itself for `number` 1; for a higher number, the number goes in
// before the extension ("a.TMP" becomes "a.2.TMP").
std::string NumberedName(const std::string& name, int number);

// A Wininit.ini key for a destination whose short path cannot be had: its
// alias with the destination's own extension (at most 3 characters).
std::string AliasRenameKey(const std::string& destination);

// "Please insert disk <n> in order to continue setup. ..."
std::string DiskPromptText(int16_t disk);
