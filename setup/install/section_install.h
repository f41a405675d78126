// Installing the chosen sections: the program group, the folders of each
// section's AddFolder trees, every file entry of the section in script
// order, and the shortcuts; then the section's
// libraries, registry entries and INI values.
#pragma once

#include <cstddef>
#include <string>

#include "setup/install/progress.h"
#include "setup/install/prompter.h"
#include "setup/install/versioned_install.h"

// Whether the run creates the file entries' shortcuts in the program group:
// the program group page's choice.
void ChooseShortcuts(bool wanted);

// Installs every mandatory or selected section, telling `progress` each
// section and file. kAbortRun when the installation of an entry aborted
// the run.
RunOutcome InstallSections(Prompter& prompter, Progress& progress);

// Installs the file entry at `index` (a whole file, or one piece of a spread
// file, installed at its last piece); its destination path is expanded and
// its backslashes collapsed in place first. `installedPath` receives the
// destination when a file was installed, skipped or deferred by the
// versioned installation, and is empty otherwise.
RunOutcome InstallFileEntry(std::size_t index, std::string& installedPath, Prompter& prompter);
