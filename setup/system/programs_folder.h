// The user's Programs folder of the Start menu, where program groups live.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

// Gives an item list back to the shell's allocator.
struct ShellAllocatorFree {
    void operator()(ITEMIDLIST* list) const;
};
using ItemList = std::unique_ptr<ITEMIDLIST, ShellAllocatorFree>;

// Its item list, for the folder browser's root; null when the shell cannot
// tell where it is.
ItemList ProgramsFolderItemList();

// Its path, without a closing backslash; nothing when the shell cannot tell
// where it is or the folder has no path in the file system.
std::optional<std::string> ProgramsFolderPath();
