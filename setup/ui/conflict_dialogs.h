// The two questions about a file that is about to be replaced: dialog 115
// (different languages or code pages) and dialog 116 (overwrite a private
// file).
#pragma once

#include <string>

#include "setup/install/prompter.h"

// Shows both files with their languages; owned by the background window.
ConflictAnswer ShowLanguageConflictDialog(const std::string& source, const std::string& target);
// Owned by the current page.
ConflictAnswer ShowOverwriteDialog(const std::string& target);
