// Which paths setup and Unskein delete. The log lies in the installation
// folder, which other users may be able to edit, and a script names what an
// upgrade deletes: neither may make an elevated program delete anything but
// what it plainly names.
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

// Whether `path` is `folder` or lies below it. Case is ignored (ASCII);
// trailing backslashes do not count.
bool IsSameOrBelow(std::string_view folder, std::string_view path);

// A drive's root ("C:\") or a network share's ("\\server\share").
bool IsRootFolder(std::string_view folder);

// The program an entry's UninstallString starts: the quoted path, or the
// whole value as older setups wrote it.
std::string UninstallProgramOf(const std::string& uninstallString);
