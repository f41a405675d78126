// Upgrades that find the installed version: SetAppVersion looks the product
// up in the list of installed programs, and the uninstall entry records what
// the next upgrade looks for.
#pragma once

#include <windows.h>

#include <string>

// Sets APPVERSION to `version` and turns upgrades on. When the list of
// programs holds this product's entry (the key APPNAME names) and that entry
// starts an Unskein.exe, DP becomes that folder, PROGRAMGROUP the group the
// entry recorded, and INSTALLEDVERSION its DisplayVersion. Returns whether
// the installed version is newer than `version`.
bool FindInstalledVersion(const std::string& version);

// With upgrades on, records the program group in the uninstall entry, so
// that the next upgrade finds it.
void RecordProgramGroup(HKEY entry);
