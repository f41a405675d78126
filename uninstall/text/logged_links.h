// The shortcuts that the log records with the target each was made with.
#pragma once

#include <string>
#include <vector>

#include "common/text/uninstall_log_reader.h"

struct LoggedLink {
    std::string shortcut;
    std::string target;
};

// The LINK records whose fields read back; the others are passed over.
std::vector<LoggedLink> LoggedLinks(const UninstallLog& log);
