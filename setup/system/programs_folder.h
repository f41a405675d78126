// The user's Programs folder of the Start menu, where program groups live,
// and the shell's other folders that shortcuts go into.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

#include "common/shell_folders.h"

// Its item list, for the folder browser's root; null when the shell cannot
// tell where it is.
ItemList ProgramsFolderItemList();

// Its path, without a closing backslash; empty when the shell cannot tell
// where it is or the folder has no path in the file system.
SystemPath ProgramsFolderPath();

// What setup says when the Programs folder has a name it cannot use; it
// makes no shortcuts then.
std::string UnspelledProgramsFolderText(const std::string& shownFolder);
