// Replacing a shared file that is in use at the next restart of Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "setup/install/prompter.h"

struct VersionInfo {
    uint32_t fileVersionHigh = 0;  // major and minor version
    uint32_t fileVersionLow = 0;   // build and revision
    bool hasTranslation = false;   // the fields below are read only from a translation block
    uint16_t language = 0;
    uint16_t codePage = 0;
    std::string languageName;      // in English, such as "German"
};

// The version resource of a file; nothing when it has none.
std::optional<VersionInfo> ReadVersionInfo(const std::string& path);

// Expands the new file into a temporary file of its own in the Windows
// TEMP directory and has the system move it over `destination` at the next
// start: a delayed move on Windows NT, an entry of the section "rename" of
// Wininit.ini on Windows 95, 98 and ME. An older source (by major and minor
// version) replaces nothing. Returns 1 when the version of either file
// cannot be read, else 0.
int ReplaceFileAtRestart(const std::string& sourcePath, const std::string& destination,
                         Prompter& prompter = ProgramPrompter());
