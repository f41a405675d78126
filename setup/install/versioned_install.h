// Installing one file through the Windows version-installation functions:
// shared files where the system places them, with version and language
// checks and self-registration; private files at their exact path.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "setup/install/prompter.h"

// Whether the installation run goes on after a step, or is to be aborted.
enum class RunOutcome { kGoOn, kAbortRun };

// What to do after one call of the version-installation function.
enum class InstallVerdict {
    kInstalled,
    kAbortRun,      // stop the whole installation run
    kRetryInstall,  // call again with the same flags
    kSkipFile,      // leave this file, go on with the next
    kForceInstall,  // call again with VIFF_FORCEINSTALL
    kFileInUse,     // the destination cannot be replaced now
};

// The file one installation call works on, as its messages and questions
// name it.
struct InstallSubject {
    std::string caption;  // the short source file name
    std::string source;   // the source's full path
    std::string target;   // the destination being installed
    std::size_t index;    // the file entry, whose disk number the disk prompt gives
};

// Shows the messages and questions that belong to the result bits, in their
// fixed order, and returns the verdict.
InstallVerdict InterpretInstallResult(DWORD result, const InstallSubject& file, Prompter& prompter);

// Installs `sourcePath` (the entry's source, or the joined file of a spread
// file) for the file entry at `index`, whose destination is expanded in
// place first, and writes its uninstall log records. kGoOn when it was
// installed, skipped, or left for the next restart.
RunOutcome InstallVersionedFile(const std::string& sourcePath, std::size_t index, Prompter& prompter);
