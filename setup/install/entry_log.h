// The log records of the registry, INI and library entries.
#pragma once

#include <string>
#include <vector>

#include "common/text/log_records.h"
#include "setup/install/prompter.h"

// Logs the entry, which the message names as `shown`; false, after telling
// the user, when its record would not fit a line of the log: an entry that
// Unskein could not find is not installed.
bool LogEntry(LogKind kind, const std::vector<std::string>& fields, const std::string& shown, Prompter& prompter);
