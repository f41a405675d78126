// What installing files through the system's version library takes at
// every step: the version resource of a file, and the temporary copies that
// installation calls leave.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

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

// When a series of installation calls began.
struct InstallStart {
    InstallStart();
    FILETIME time;
};

// Deletes the temporary files that installation calls begun at `started`
// left in `directory`: the one they reported (`reported`, may be empty) and
// those they made without saying so, as when the disk ran full while the
// source was copied.
void DiscardInstallTemporaries(const std::string& directory, const char* reported, const InstallStart& started);
