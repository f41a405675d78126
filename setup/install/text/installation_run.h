// What the installation run computes from the records and variables: which
// sections it installs, the progress ranges, the program group and shortcut
// paths, and the uninstall entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setup/model/text/records.h"

// A section is installed when it is mandatory (any nonzero value) or the
// sections page selected it.
bool IsSectionChosen(const SectionEntry& section);
std::size_t CountChosenSections(const std::vector<SectionEntry>& sections);
// The file entries (of the whole list) that belong to the section by name.
std::size_t CountSectionFiles(const std::vector<FileEntry>& files, const std::string& sectionName);

// The piece that begins the spread file of the piece at `index`: the
// earliest of the pieces with the same destination that follow the last
// piece of an earlier file of that destination.
std::size_t FirstPieceIndex(const std::vector<FileEntry>& files, std::size_t index);
// Whether the piece at `index` begins its file; such a piece starts a new
// joined file.
bool IsFirstPiece(const std::vector<FileEntry>& files, std::size_t index);

// The paths the private files take below the installation folder, so that
// a folder chosen for them can be checked: what follows "[DP]" in their
// destinations, with other variables expanded as they stand now; and the
// uninstall log's.
std::vector<std::string> PathsBelowInstallFolder(const std::vector<FileEntry>& files);
// The longest of the paths `below` under `installPath` that does not fit
// the installation call (TargetFits); nothing when every one fits.
std::optional<std::string> PathThatDoesNotFit(const std::string& installPath, const std::vector<std::string>& below);

// The upper end of a progress bar over `count` steps numbered from 0, as
// the bar's 16-bit range holds it: no steps give 65535.
uint16_t ProgressMaximum(std::size_t count);

// A group name without a colon lies in the Programs folder.
bool IsGroupInProgramsFolder(const std::string& group);
std::string GroupInProgramsFolder(const std::string& programsFolder, const std::string& group);

// "<group>\<name>.lnk", with one trailing backslash of the group dropped
// first, so that a group that is the Programs folder itself ("...\Programs\")
// gets no doubled separator.
std::string ShortcutLinkPath(const std::string& group, const std::string& shortcutName);

// The key of the uninstall entry below HKEY_LOCAL_MACHINE.
std::string UninstallKeyPath(const std::string& appName);
// The registry takes key names of at most this many characters.
constexpr std::size_t kMaxRegistryKeyName = 255;
// Unskein.exe in the installation directory, with a separator when the
// directory (typed on the destination page) has no trailing backslash.
std::string UninstallProgramPath(const std::string& installDirectory);
// The uninstaller's path in quotes: the system runs the command with
// administrator rights, and an unquoted path with blanks would first be
// tried as "C:\Program.exe".
std::string UninstallCommand(const std::string& installDirectory);
// The icon of the entry: the target of the first shortcut when it is a
// program, otherwise the uninstaller.
std::string UninstallIconPath(const std::string& firstShortcutTarget, const std::string& installDirectory);
// Bytes as the list of programs counts them: whole kilobytes, rounded up,
// at most what a DWORD holds.
uint32_t SizeInKilobytes(uint64_t bytes);
// "YYYYMMDD".
std::string InstallDateText(int year, int month, int day);
