// What Unskein removes because of the uninstall log.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/text/log_records.h"
#include "common/text/path_rules.h"
#include "common/text/uninstall_log_reader.h"
#include "uninstall/text/path_rules.h"

// The key below HKEY_LOCAL_MACHINE that holds the entries of the list of programs.
inline constexpr char kUninstallBranch[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Files that the installed program made itself (a DELETEFILES record).
struct ProgramMadeFiles {
    DeletionTarget target;
    bool ask = false;     // Unskein asks before it deletes these
    std::string appName;  // the name the question shows
};

// What Unskein removes, in the order it removes it.
struct RemovalPlan {
    std::vector<std::string> files;        // NONSHARED paths, last record first
    std::vector<ProgramMadeFiles> madeFiles;  // DELETEFILES records, last record first
    std::vector<std::string> directories;  // DIR paths, last record first: deeper ones go before parents
    std::vector<std::string> registryKeys; // below HKEY_LOCAL_MACHINE, each with one backslash appended
    std::vector<std::string> sharedFiles;  // SHARED paths, last record first: their counts are taken back
    std::size_t skipped = 0;               // file, shared-file and folder records whose path is not full and plain,
                                           // and DELETEFILES records that name nothing ReadDeletionTarget accepts
    bool cleanUninstall = false;           // a CLEANUNINSTALL record: Unskein then removes itself, the log and
                                           // the empty installation folder
    bool uses64 = false;                   // an INSTALL64 record: the 64-bit registry view and system folder
};

// Shared files stay installed; only their counts are taken back. Files,
// shared files and folders are only those of full, plain paths (see
// IsFullPlainPath); the others are counted as skipped. Registry keys are
// only entries directly below the Uninstall key, and each is deleted only
// when it is this installation's
// (see SameProgramPath); the Uninstall key itself (logged when the
// application name was empty) and anything else are never deleted.
RemovalPlan PlanRemoval(const UninstallLog& log);

// The log beside the program file: its directory (up to the last backslash)
// and "uninstall.log".
std::string LogPathBeside(const std::string& programPath);

// Whether two paths name the same program file as far as their text tells:
// letters compare without regard to case, doubled separators as single.
bool SameProgramPath(const std::string& a, const std::string& b);
