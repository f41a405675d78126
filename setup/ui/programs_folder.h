// The user's Programs folder of the Start menu, where program groups live.
#pragma once

#include <optional>
#include <string>

#include "setup/ui/shell_folder.h"

// Its item list, for the folder browser's root; null when the shell cannot
// tell where it is.
ItemList ProgramsFolderItemList();

// Its path, without a closing backslash; nothing when the shell cannot tell
// where it is or the folder has no path in the file system.
std::optional<std::string> ProgramsFolderPath();
