// Replacing a shared file that is in use at the next restart of Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "setup/install/prompter.h"

// Expands the new file into a temporary file of its own in the Windows
// TEMP directory and has the system move it over `destination` at the next
// start: a delayed move on Windows NT, an entry of the section "rename" of
// Wininit.ini on Windows 95, 98 and ME. An older source (by major and minor
// version) replaces nothing.
enum class Deferral {
    kSettled,            // scheduled, not needed, or given up here
    kVersionUnreadable,  // either file's version cannot be read: nothing was done
};
Deferral ReplaceFileAtRestart(const std::string& sourcePath, const std::string& destination, Prompter& prompter);
