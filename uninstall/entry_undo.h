// Taking back the registry values, INI values and libraries that setup
// logged, last first, before any file goes.
#pragma once

#include <cstddef>
#include <string>

#include "uninstall/text/entry_rules.h"

// Unregisters each library that lies below the installation folder (given
// in its short form) and is reached without a linked folder: loading one
// from anywhere else would run code that the log, not setup, chose. Returns
// how many were left for that. Tells the shell when file types changed.
std::size_t UndoEntries(const EntryPlan& plan, const std::string& installFolder);
