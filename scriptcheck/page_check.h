// The checks of the licence and text pages, Back and the Windows versions.
#pragma once

#include <string>

#include "scriptcheck/diagnostics.h"
#include "scriptcheck/medium.h"

// A file that ShowLicence or ShowText shows, as written and as the medium
// holds it (`search` for its expanded path): setup ends when it is missing.
void CheckShownFile(Diagnostics& d, Place at, const std::string& command, const std::string& written,
                    const MediumSearch& search, const Medium& medium);

// One argument of RequireWindows.
void CheckWindowsVersion(Diagnostics& d, Place at, const std::string& version);

// SetBackButton and RequireWindows act on the pages after them;
// `firstPageLine` is 0 while no page came before.
void CheckBeforePages(Diagnostics& d, Place at, const std::string& command, int firstPageLine);
