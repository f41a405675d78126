// What the finish page says and offers, worked out without the system.
#pragma once

#include <string>

#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

// The page's title and text: `appName` is installed, or its installation
// was stopped.
std::string FinishTitle(bool runStopped);
std::string FinishText(const std::string& appName, bool runStopped);

// Whether file entries install `target` (expanded), but only in sections
// that are not chosen: an action on it is not offered then. A target that
// no entry installs is not left out.
bool IsLeftOut(const InstallationRecords& records, const std::string& target, VariableStore& variables);
