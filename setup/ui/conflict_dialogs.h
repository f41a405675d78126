// The two questions about a file that is about to be replaced: dialog 115
// (different languages or code pages) and dialog 116 (overwrite a private
// file). They show the shown paths of the installation state.
#pragma once

#include "setup/install/prompter.h"

// Owned by the background window; Install all sets the install-all memory.
ConflictAnswer ShowLanguageConflictDialog();
// Owned by the current page; Overwrite every file sets the install-all
// memory too.
ConflictAnswer ShowOverwriteDialog();
