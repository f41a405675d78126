// Which paths setup and Unskein delete. The log lies in the installation
// folder, which other users may be able to edit, and a script names what an
// upgrade deletes: neither may make an elevated program delete anything but
// what it plainly names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A to Z in lower case, every other byte as it is, as Windows ignores the
// case of those letters in names whatever the code page.
char LowerAscii(char c);
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

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

// How a record of the files a program makes itself names them.
enum class DeletionForm {
    kFile,     // one file
    kPattern,  // the files of a folder whose names match the wildcards of the last part
    kFolder,   // a folder with everything in it (the path ends with a separator)
};

struct DeletionTarget {
    DeletionForm form;
    std::string folder;  // the folder it is or lies in, without a closing separator
    std::string name;    // the file's name or the pattern; empty for a folder
};

// What such a record's path names; nothing when Unskein deletes nothing
// through it: its folder must be full and plain (see IsFullPlainPath), a
// pattern's last part plain but for its wildcards, and a folder to delete
// no root.
std::optional<DeletionTarget> ReadDeletionTarget(std::string_view path);

// Whether `folder` never goes, nor loses its files through a pattern: a
// root, one of `kept` (the Windows and system folders, Program Files, the
// user's Documents, Desktop...), or a profile's root: a folder of
// `profileParents` or one directly inside it. Their other subfolders may
// go. ASCII case is ignored; doubled and trailing separators do not count.
bool IsKeptFolder(std::string_view folder, const std::vector<std::string>& kept,
                  const std::vector<std::string>& profileParents);
