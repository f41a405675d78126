#include "common/shell_folders.h"

void ShellAllocatorFree::operator()(ITEMIDLIST* list) const
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(list);
        allocator->Release();
    }
}

SystemPath ItemListPath(const ITEMIDLIST* list)
{
    // Each call writes at most MAX_PATH characters.
    using WideCall = decltype(&SHGetPathFromIDListW);
    if (const auto wide = FindWideFunction<WideCall>("SHELL32.DLL", "SHGetPathFromIDListW")) {
        wchar_t path[MAX_PATH] = L"";
        return wide(list, path) ? SpelledPath(path) : SystemPath{};
    }
    char path[MAX_PATH] = "";
    return SHGetPathFromIDListA(list, path) ? SystemPath{path} : SystemPath{};
}

SystemPath ShellFolderPath(int csidl)
{
    ITEMIDLIST* list = nullptr;
    // No owner window: the shell shows nothing while it looks the folder up.
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)))
        return {};
    const ItemList owned(list);
    return ItemListPath(owned.get());
}
