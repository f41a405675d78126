// Which paths of the log Unskein acts on. The log lies in the installation
// folder, which other users may be able to edit: a record must not make an
// elevated Unskein delete anything but what it plainly names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A drive with its root ("C:\...") or a network share ("\\server\share..."),
// "/" counting as "\" as it does for Windows. Refused: "\\?\" and "\\.\"
// device paths, relative and drive-relative paths, components made of dots
// and blanks only ("." and ".." climb; Windows trims the others to them or
// to nothing), a colon after the drive (streams), wildcards, the other
// characters a file name cannot hold, and control characters. Empty
// components (a doubled or trailing backslash) name the same file and pass.
bool IsFullPlainPath(std::string_view path);

// Whether `path` lies below the folder `base`, at any depth; case is ignored (ASCII).
bool LiesBelow(std::string_view base, std::string_view path);

// The folders below `base` that lead to `path`, outermost first, without
// `path` itself; none when `path` does not lie below `base`. Case is ignored
// (ASCII); doubled and trailing backslashes do not count.
std::vector<std::string> FoldersBetween(std::string_view base, std::string_view path);

// Told once after the removal when `count` records were left alone.
std::string SkippedRecordsText(std::size_t count);
