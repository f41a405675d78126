// The program-wide state of the installation engine, which lives for the
// whole program run.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "setup/install/packaged_medium.h"
#include "setup/install/text/uninstall_log_writer.h"

struct InstallationState {
    bool installAll = false;      // language and code page conflicts are forced without asking
    bool overwriteAll = false;    // existing private files are overwritten without asking
    int32_t createShortcuts = 1;  // the program group page's choice, through ChooseShortcuts
    uint64_t installedBytes = 0;  // the files this run installed, for the uninstall entry
    std::string firstShortcutTarget;  // the uninstall entry's icon when it is a program
    bool entryRegistered = false;     // the uninstall entry exists, to be completed at the end
    bool runStopped = false;          // the installation run ended before its end, for the finish page
    bool upgrades = false;            // SetAppVersion: the entry records the group for the next upgrade
    bool fileTypesChanged = false;    // a registry entry wrote among the file types: the shell is told at the end
    std::string programFilesFolder;   // ProgramFilesDir as read at start-up; empty when the system names none
    PackagedMedium packagedMedium;    // the files a starter left in its package (packaged_medium.h)
    UninstallLogWriter log;     // opened and closed by the installation run
    std::string temporaryFolder;              // setup's own, in the Windows TEMP folder, once made
    std::vector<std::string> temporaryFiles;  // made in it, removed with it when setup ends
    std::map<std::string, std::string> joinedFiles;  // spread files being joined: destination, joined file
};

extern InstallationState gInstall;
