#include "setup/ui/programs_folder.h"

#include "setup/ui/windows.h"

ItemList ProgramsFolderItemList()
{
    ITEMIDLIST* list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(gApp.background, CSIDL_PROGRAMS, &list)))
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
