#include "setup/system/programs_folder.h"

void ShellAllocatorFree::operator()(ITEMIDLIST* list) const
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(list);
        allocator->Release();
    }
}

ItemList ProgramsFolderItemList()
{
    ITEMIDLIST* list = nullptr;
    // No owner window: the shell shows nothing while it looks this folder up.
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &list)))
        return nullptr;
    return ItemList(list);
}

std::optional<std::string> ProgramsFolderPath()
{
    const ItemList list = ProgramsFolderItemList();
    char path[MAX_PATH] = "";  // the call writes at most MAX_PATH bytes
    if (!list || !SHGetPathFromIDListA(list.get(), path) || !path[0])
        return std::nullopt;
    return std::string(path);
}
