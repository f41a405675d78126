// Installing the chosen sections: the program group, every file entry of
// each section in script order, the shortcuts, and the copy page's
// progress bars and name labels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Sets a progress bar of the copy page to count `steps` from 0.
void SetProgressRange(HWND bar, std::size_t steps);

// Installs every mandatory or selected section, showing the progress on the
// copy page `page`. Returns 0 when all were processed, otherwise the 1-based
// position in the file list of the entry whose installation aborted the run.
std::size_t InstallSections(HWND page);

// Brings the copy page's file name and file bar up to the file being
// installed; called before anything is asked or shown about it.
void ShowPendingFileProgress();

// Installs the file entry at `index` (a whole file, or one piece of a spread
// file, installed at its last piece); its destination path is expanded and
// its backslashes collapsed in place first. `installedPath` receives the
// destination when a file was installed, skipped or deferred by the
// versioned installation, and is empty otherwise. Returns 1 to abort the
// run, 0 to go on.
int InstallFileEntry(std::size_t index, std::string& installedPath);
