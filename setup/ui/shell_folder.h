// The shell's folder browser and its item lists, for the pages that let the
// user pick a folder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

// The folder browser's title on every page.
extern const char kFolderBrowserTitle[];

// Gives an item list back to the shell's allocator.
struct ShellAllocatorFree {
    void operator()(ITEMIDLIST* list) const;
};
using ItemList = std::unique_ptr<ITEMIDLIST, ShellAllocatorFree>;

// Opens the folder browser for file system folders below `root` (null: the
// whole namespace from the desktop), owned by `owner`. Returns the chosen
// folder's path, or nothing when the user cancels or the folder has no path.
std::optional<std::string> BrowseForFolder(HWND owner, const ITEMIDLIST* root);
