#include "common/installed_library.h"

#include "common/system_folder.h"

HMODULE LoadInstalledLibrary(const std::string& path)
{
    // The search flags came with SetDefaultDllDirectories (Windows 8, and Vista
    // and 7 with update KB2533623). The system's default folders would include
    // the program's own, so only the system folder joins the library's. Older
    // systems know only the altered order, which puts the library's folder
    // where the program's would be.
    const bool searchFlags = FindKernelFunction("SetDefaultDllDirectories") != nullptr;
    return LoadLibraryExA(path.c_str(), nullptr,
                          searchFlags ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                                      : LOAD_WITH_ALTERED_SEARCH_PATH);
}
