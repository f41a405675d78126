#include "setup/system/programs_folder.h"

void ShellAllocatorFree::operator()(ITEMIDLIST* list) const
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(list);
        allocator->Release();
    }
}

namespace {

ItemList SpecialFolderItemList(int csidl)
{
    ITEMIDLIST* list = nullptr;
    // No owner window: the shell shows nothing while it looks the folder up.
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)))
        return nullptr;
    return ItemList(list);
}

}  // namespace

ItemList ProgramsFolderItemList()
{
    return SpecialFolderItemList(CSIDL_PROGRAMS);
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

std::string UnspelledProgramsFolderText(const std::string& shownFolder)
{
    return UnspelledFolderText(shownFolder) + "\n\nSetup makes no shortcuts in it.";
}

SystemPath SpecialFolderPath(int csidl)
{
    const ItemList list = SpecialFolderItemList(csidl);
    return list ? ItemListPath(list.get()) : SystemPath{};
}

SystemPath ProgramsFolderPath()
{
    return SpecialFolderPath(CSIDL_PROGRAMS);
}
