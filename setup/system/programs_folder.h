// The user's Programs folder of the Start menu, where program groups live,
// and the shell's other folders that shortcuts go into.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

#include "common/system_paths.h"

// Gives an item list back to the shell's allocator.
struct ShellAllocatorFree {
    void operator()(ITEMIDLIST* list) const;
};
using ItemList = std::unique_ptr<ITEMIDLIST, ShellAllocatorFree>;

// Its item list, for the folder browser's root; null when the shell cannot
// tell where it is.
ItemList ProgramsFolderItemList();

// The file system path of a folder the shell names by its item list; empty
// when it has none.
SystemPath ItemListPath(const ITEMIDLIST* list);

// Its path, without a closing backslash; empty when the shell cannot tell
// where it is or the folder has no path in the file system.
SystemPath ProgramsFolderPath();

// The path of the shell's folder `csidl` (CSIDL_DESKTOPDIRECTORY, ...), as
// ProgramsFolderPath gives the Programs folder's.
SystemPath SpecialFolderPath(int csidl);

// What setup says when the Programs folder has a name it cannot use; it
// makes no shortcuts then.
std::string UnspelledProgramsFolderText(const std::string& shownFolder);
