#include "setup/system/programs_folder.h"

ItemList ProgramsFolderItemList()
{
    ITEMIDLIST* list = nullptr;
    // No owner window: the shell shows nothing while it looks this folder up.
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &list)))
        return nullptr;
    return ItemList(list);
}

std::string UnspelledProgramsFolderText(const std::string& shownFolder)
{
    return UnspelledFolderText(shownFolder) + "\n\nSetup makes no shortcuts in it.";
}

SystemPath ProgramsFolderPath()
{
    return ShellFolderPath(CSIDL_PROGRAMS);
}
