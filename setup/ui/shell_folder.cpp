#include "setup/ui/shell_folder.h"

const char kFolderBrowserTitle[] = "Please choose the directory in which the software will be installed.";

namespace {

// The file system path of an item; nothing for an item that has none.
std::optional<std::string> PathOfItem(const ITEMIDLIST* item)
{
    char path[MAX_PATH] = "";  // the call writes at most MAX_PATH bytes
    if (!SHGetPathFromIDListA(item, path))
        return std::nullopt;
    return std::string(path);
}

}  // namespace

void ShellAllocatorFree::operator()(ITEMIDLIST* list) const
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(list);
        allocator->Release();
    }
}

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
    return PathOfItem(chosen.get());
}

std::optional<std::string> ProgramsFolderPath(HWND owner)
{
    ITEMIDLIST* found = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAMS, &found)))
        return std::nullopt;
    const ItemList folder(found);
    return PathOfItem(folder.get());
}
