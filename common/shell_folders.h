// The folders the shell names (the Start menu's Programs folder, the user's
// application data, Documents, Desktop), spelled for the "A" calls.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>

#include "common/system_paths.h"

// Gives an item list back to the shell's allocator.
struct ShellAllocatorFree {
    void operator()(ITEMIDLIST* list) const;
};
using ItemList = std::unique_ptr<ITEMIDLIST, ShellAllocatorFree>;

// The file system path of a folder the shell names by its item list; empty
// when it has none.
SystemPath ItemListPath(const ITEMIDLIST* list);

// The path of the shell's folder `csidl`, without a closing backslash;
// empty when this Windows does not know it or it has no path.
SystemPath ShellFolderPath(int csidl);
