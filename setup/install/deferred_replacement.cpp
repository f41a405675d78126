#include "setup/install/deferred_replacement.h"

#include <windows.h>

#include <vector>

#include "common/wininit.h"
#include "setup/install/file_system.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/version_calls.h"
#include "setup/system/system_libraries.h"

namespace {

// GetTempFileNameA adds a backslash and a name of up to 12 characters.
constexpr std::size_t kTemporaryFileNameRoom = 14;

// Expands `sourcePath` into `temporaryPath` as installing would (a
// compressed library must not replace the old one with its compressed
// bytes). The installation call leaves no temporary file of its own here.
bool ExpandInto(const std::string& sourcePath, const std::string& temporaryPath)
{
    const std::size_t sourceSlash = sourcePath.rfind('\\');
    const std::size_t temporarySlash = temporaryPath.rfind('\\');
    std::string sourceName = sourcePath.substr(sourceSlash + 1);
    std::string sourceDirectory = sourcePath.substr(0, sourceSlash + 1);
    std::string name = temporaryPath.substr(temporarySlash + 1);
    std::string directory = temporaryPath.substr(0, temporarySlash);
    char leftOver[MAX_PATH] = {};
    UINT leftOverLength = MAX_PATH;
    const InstallStart started;
    const DWORD result = sys::VerInstallFileA(VIFF_FORCEINSTALL, &sourceName[0], &name[0], &sourceDirectory[0],
                                              &directory[0], nullptr, leftOver, &leftOverLength);
    if (result != 0)
        DiscardInstallTemporaries(directory, leftOver, started);
    return result == 0;
}

// The new file, expanded, under a name of its own in the Windows TEMP
// directory: other deferred files and other products' pending replacements
// wait there too. The system's temporary names are 8.3, as Wininit on
// Windows 95, 98 and ME needs them; the path is given in its short form.
std::optional<std::string> ExpandToTemporaryFile(const std::string& sourcePath)
{
    EnsureWindowsTempDirectory();
    const std::string directory = WindowsDirectory().path + "\\TEMP";
    char reserved[MAX_PATH] = {};
    if (directory.size() + kTemporaryFileNameRoom >= MAX_PATH ||
        !GetTempFileNameA(directory.c_str(), "tsl", 0, reserved))
        return std::nullopt;
    const std::string temporaryPath = ShortPath(reserved).value_or(reserved);
    if (ExpandInto(sourcePath, temporaryPath))
        return temporaryPath;
    DeleteFileA(reserved);
    return std::nullopt;
}

// The name under which Windows 95, 98 and ME know the file to be replaced:
// its real short path, since the file exists (it is in use).
std::string RenameKey(const std::string& destination)
{
    return ShortPath(destination).value_or(AliasRenameKey(destination));
}

// An older file never replaces a newer one; build numbers do not count.
bool Replaces(const VersionInfo& newFile, const VersionInfo& oldFile)
{
    return newFile.fileVersionHigh >= oldFile.fileVersionHigh;
}

// A replacement of the same file that is pending already (another
// program's, or an earlier one of ours) stays as it is, and its copy too:
// when ours is not older than that copy, our line goes after it, so that
// Windows moves that copy first and ours over it; when that copy is newer,
// ours is not scheduled.
bool AddWininitReplacement(const std::string& key, const std::string& temporaryPath, const VersionInfo& ours)
{
    if (const std::optional<std::string> pending = PendingWininitRename(key)) {
        const std::optional<VersionInfo> waiting = ReadVersionInfo(*pending);
        if (waiting && !Replaces(ours, *waiting))
            return false;
    }
    return AddWininitRename(key, temporaryPath);
}

// Has the system move `temporaryPath` over `destination` at the next start;
// false when nothing was scheduled.
bool ScheduleMove(const std::string& temporaryPath, const std::string& destination, const VersionInfo& version)
{
    if (IsWindowsNt())
        return MoveFileExA(temporaryPath.c_str(), destination.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    return AddWininitReplacement(RenameKey(destination), temporaryPath, version);
}

}  // namespace

Deferral ReplaceFileAtRestart(const std::string& sourcePath, const std::string& destination, Prompter& prompter)
{
    const std::optional<VersionInfo> installed = ReadVersionInfo(destination);
    if (!installed)
        return Deferral::kVersionUnreadable;
    const std::optional<std::string> temporaryPath = ExpandToTemporaryFile(sourcePath);
    if (!temporaryPath) {
        Inform(prompter, "Failed to copy file", "Error");
        return Deferral::kSettled;
    }
    // A compressed source shows its version only once it is expanded.
    const std::optional<VersionInfo> source = ReadVersionInfo(*temporaryPath);
    // A copy that nothing will move would stay in TEMP for good.
    if (!source || !Replaces(*source, *installed) || !ScheduleMove(*temporaryPath, destination, *source))
        DeleteFileA(temporaryPath->c_str());
    return source ? Deferral::kSettled : Deferral::kVersionUnreadable;
}
