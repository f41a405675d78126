// Reading the uninstall log back: Unskein reads it to remove what it lists,
// and setup reads the log of an earlier installation into the same folder to
// carry its records forward.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One record of the log's file section.
struct LogRecord {
    std::string path;
    std::string kind;          // "DIR", "NONSHARED", "SHARED"; anything else is ignored
    std::string registration;  // "AUTOREGSVR" or "NOAUTOREGSVR" after a SHARED kind line, or empty
};

struct UninstallLog {
    std::vector<LogRecord> records;         // the file section, in log order
    std::vector<std::string> registryKeys;  // non-empty lines after "[REGISTRY]"
    bool hasRegistrySection = false;
};

// Reads a log from the file's bytes. CR LF and a lone LF end a line, as a
// text-mode read takes them; a last line without a line end counts too.
// Lines before "[FILES]" are header and skipped unread; without "[FILES]" the
// log yields nothing. Records are a path line and a kind line; the
// registration line that follows a SHARED kind line is read with it so the
// next record stays in step. Without "[REGISTRY]" (setup ended during its
// run) the records read so far are kept and no registry key is taken. Lines
// are read whole, whatever their length.
UninstallLog ReadUninstallLog(std::string_view bytes);
