// The whole installation, once per program run: the installation folder,
// the uninstall log and the uninstall entry, and the chosen sections.
#pragma once

#include "setup/install/progress.h"
#include "setup/install/prompter.h"
#include "setup/install/versioned_install.h"

// Nothing is rolled back after an abort: the log and the uninstall entry
// are completed so that Unskein can remove what was installed so far.
// kAbortRun when setup is to quit, also when the installation folder cannot
// be made.
RunOutcome RunInstallation(Prompter& prompter, Progress& progress);
