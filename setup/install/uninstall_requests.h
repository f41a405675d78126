// What the script asks Unskein to do beyond taking back what setup
// installed: delete the files the program makes, and remove itself.
#pragma once

#include "setup/install/prompter.h"

// Writes the log's records of the script's SetCleanUninstall and
// DeleteOnUninstall commands, their paths expanded now. A record whose line
// would be too long for the log is not written, and the user is told.
void LogUninstallRequests(Prompter& prompter);
