#include "common/system_folder.h"

#include <string>

void KeepDllSearchInSystemFolder()
{
    // Windows 8, and Vista and 7 with update KB2533623: DLLs loaded by name come from the system folder only.
    using SetDefaultFunction = BOOL(WINAPI*)(DWORD flags);
    if (const auto setDefault = reinterpret_cast<SetDefaultFunction>(FindKernelFunction("SetDefaultDllDirectories")))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows XP SP1 and later: the current folder leaves the search.
    using SetDirectoryFunction = BOOL(WINAPI*)(LPCSTR path);
    if (const auto setDirectory = reinterpret_cast<SetDirectoryFunction>(FindKernelFunction("SetDllDirectoryA")))
        setDirectory("");
}

FARPROC FindKernelFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), name);
}

namespace {

HMODULE LoadFromSystemFolder(const char* name)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

// A load by full path would bypass the manifest's redirection.
bool ManifestRedirects(const char* name)
{
    using FindFunction = decltype(&FindActCtxSectionStringA);
    const auto find = reinterpret_cast<FindFunction>(FindKernelFunction("FindActCtxSectionStringA"));
    if (!find)
        return false;
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof data;
    return find(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &data) != FALSE;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name)
{
    return ManifestRedirects(name) ? LoadLibraryA(name) : LoadFromSystemFolder(name);
}
