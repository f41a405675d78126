#include "setup/ui/shell_folder.h"

const char kFolderBrowserTitle[] = "Please choose the directory in which the software will be installed.";

std::optional<std::string> BrowseForFolder(HWND owner, const ITEMIDLIST* root)
{
    char displayName[MAX_PATH] = "";
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pidlRoot = root;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = kFolderBrowserTitle;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList chosen(SHBrowseForFolderA(&browse));
    if (!chosen)
        return std::nullopt;
    char path[MAX_PATH] = "";  // the call writes at most MAX_PATH bytes
    if (!SHGetPathFromIDListA(chosen.get(), path))
        return std::nullopt;
    return std::string(path);
}
