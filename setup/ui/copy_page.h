// The copy page, which shows the installation run while it installs.
#pragma once

#include <windows.h>

INT_PTR ShowCopyPage();

// Brings the page's file name and file bar up to the file being installed;
// called before anything is asked or shown about it.
void ShowPendingFileProgress();
