// The uninstall log as Unskein reads it, and what Unskein removes because of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One record of the log's file section.
struct LogRecord {
    std::string path;
    std::string kind;  // "DIR", "NONSHARED", "SHARED"; anything else is ignored
};

struct UninstallLog {
    std::vector<LogRecord> records;         // the file section, in log order
    std::vector<std::string> registryKeys;  // non-empty lines after "[REGISTRY]"
};

// Reads a log from the file's bytes. CR LF and a lone LF end a line, as a
// text-mode read takes them; a last line without a line end counts too.
// Lines before "[FILES]" are header and skipped unread; without "[FILES]" the
// log yields nothing. Records are a path line and a kind line; the
// registration line that follows a SHARED kind line is read past so the next
// record stays in step. Without "[REGISTRY]" (setup ended during its run) the
// records read so far are kept and no registry key is taken. Lines are read
// whole, whatever their length.
UninstallLog ReadUninstallLog(std::string_view bytes);

// What Unskein removes, in the order it removes it.
struct RemovalPlan {
    std::vector<std::string> files;        // NONSHARED paths, last record first
    std::vector<std::string> directories;  // DIR paths, last record first: deeper ones go before parents
    std::vector<std::string> registryKeys; // below HKEY_LOCAL_MACHINE, each with one backslash appended
    std::size_t skipped = 0;               // file and folder records whose path is not full and plain
};

// Shared files stay installed. Files and folders are only those of full,
// plain paths (see IsFullPlainPath); the others are counted as skipped.
// Registry keys are only those below the Uninstall key; the Uninstall key
// itself (logged when the application name was empty) and anything else are
// never deleted.
RemovalPlan PlanRemoval(const UninstallLog& log);

// The log beside the program file: its directory (up to the last backslash)
// and "uninstall.log".
std::string LogPathBeside(const std::string& programPath);
