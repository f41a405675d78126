// The shell's folder browser, for the pages that let the user pick a folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "setup/system/programs_folder.h"

// The folder browser's title on every page.
extern const char kFolderBrowserTitle[];

// Opens the folder browser for file system folders below `root` (null: the
// whole namespace from the desktop), owned by `owner`. Returns the chosen
// folder's path, or nothing when the user cancels or the folder has no path,
// or one that this system's code page cannot spell (after a message).
std::optional<std::string> BrowseForFolder(HWND owner, const ITEMIDLIST* root);
