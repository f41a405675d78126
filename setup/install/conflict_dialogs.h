// The two questions about a file that is about to be replaced: dialog 115
// (different languages or code pages) and dialog 116 (overwrite a private
// file). They show the shown paths of the installation state.
#pragma once

#include <windows.h>

// Owned by the background window: 1 Yes, 0 No, 2 Install all (which sets
// the install-all memory).
INT_PTR ShowLanguageConflictDialog();
// Owned by the current page: 1 Yes, 0 No, 2 Overwrite every file (which
// sets the install-all memory).
INT_PTR ShowOverwriteDialog();
