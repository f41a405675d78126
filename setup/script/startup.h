// Start-up of setup.exe and the carrying out of the script.
#pragma once

#include <optional>
#include <string>

// Exit codes of setup.exe.
enum ExitCode {
    kExitOk = 0,
    kExitNoScript = 1,
    kExitSyntaxError = 2,
    kExitForbiddenProcess = 3,
    kExitFileUnreadable = 4,     // the file of a licence or text page
    kExitWindowsUnsupported = 5,  // RequireWindows
    kExitOlderVersionDeclined = 6,
    kExitNoCommonControls = -5,
    kExitRegistryError = -6,
    kExitUnspelledFolder = -7,  // a folder it needs has a name it cannot use (see common/system_paths.h)
    kExitPackageUnchecked = -11,  // the starter ended before it found its package whole, as for a damaged one
    kExitOutOfMemory = -12,
};

// Reads and tokenises the script into gScript; -1 (after its message) when
// the file cannot be opened.
int LoadScript(const std::string& path);

// Carries out the script's entries in order. Returns an exit code when setup
// must end at once (syntax error, forbidden process); nothing when the script
// ran to its end or a page ended it, and the normal shutdown follows.
std::optional<int> RunScript(const std::string& programFilesBase);
