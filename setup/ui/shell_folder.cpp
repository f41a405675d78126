#include "setup/ui/shell_folder.h"

#include "setup/ui/page_framework.h"

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
    const SystemPath path = ItemListPath(chosen.get());
    if (!path.spelled)
        PageMessageBox((UnspelledFolderText(path.path) + "\n\nPlease choose another folder.").c_str(),
                       "Folder cannot be used", MB_ICONEXCLAMATION | MB_OK);
    if (!path.IsUsable())
        return std::nullopt;
    return path.path;
}
