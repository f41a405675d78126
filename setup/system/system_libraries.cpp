#include "setup/system/system_libraries.h"

#include <setupapi.h>

#include "common/system_folder.h"

namespace {

struct LibraryFile {
    const char* name;
    bool loaded;
    HMODULE module;
};

// In the order of SystemLibrary. Loaded on first use and kept for the run.
LibraryFile gLibraries[] = {
    {"version.dll", false, nullptr},  {"setupapi.dll", false, nullptr}, {"comctl32.dll", false, nullptr},
    {"psapi.dll", false, nullptr},    {"vdmdbg.dll", false, nullptr},   {"oleaut32.dll", false, nullptr},
};

template <typename Function>
Function FindAdvapiFunction(const char* name)
{
    const auto function = reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("ADVAPI32.DLL"), name));
    if (!function)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return function;
}

HMODULE Load(SystemLibrary library)
{
    LibraryFile& file = gLibraries[static_cast<int>(library)];
    if (!file.loaded) {
        file.loaded = true;
        file.module = LoadSystemLibrary(file.name);
    }
    return file.module;
}

template <typename Function>
Function Find(SystemLibrary library, const char* name)
{
    const auto function = FindSystemFunction<Function>(library, name);
    if (!function)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return function;
}

}  // namespace

void LoadSystemLibraries()
{
    for (int library = 0; library < static_cast<int>(sizeof gLibraries / sizeof gLibraries[0]); ++library)
        Load(static_cast<SystemLibrary>(library));
}

FARPROC FindSystemFunction(SystemLibrary library, const char* name)
{
    const HMODULE module = Load(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

namespace sys {

DWORD VerFindFileA(DWORD flags, LPSTR fileName, LPSTR windowsDirectory, LPSTR applicationDirectory,
                   LPSTR currentDirectory, PUINT currentLength, LPSTR destinationDirectory, PUINT destinationLength)
{
    if (const auto platform = Find<decltype(&::VerFindFileA)>(SystemLibrary::kVersion, "VerFindFileA"))
        return platform(flags, fileName, windowsDirectory, applicationDirectory, currentDirectory, currentLength,
                        destinationDirectory, destinationLength);
    if (*currentLength > 0)
        currentDirectory[0] = '\0';
    if (*destinationLength > 0)
        destinationDirectory[0] = '\0';
    *currentLength = 0;
    *destinationLength = 0;
    return 0;
}

DWORD VerInstallFileA(DWORD flags, LPSTR sourceName, LPSTR destinationName, LPSTR sourceDirectory,
                      LPSTR destinationDirectory, LPSTR currentDirectory, LPSTR temporaryName, PUINT temporaryLength)
{
    if (const auto platform = Find<decltype(&::VerInstallFileA)>(SystemLibrary::kVersion, "VerInstallFileA"))
        return platform(flags, sourceName, destinationName, sourceDirectory, destinationDirectory, currentDirectory,
                        temporaryName, temporaryLength);
    return VIF_CANNOTCREATE;
}

DWORD GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle)
{
    const auto platform = Find<decltype(&::GetFileVersionInfoSizeA)>(SystemLibrary::kVersion, "GetFileVersionInfoSizeA");
    return platform ? platform(fileName, handle) : 0;
}

BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data)
{
    const auto platform = Find<decltype(&::GetFileVersionInfoA)>(SystemLibrary::kVersion, "GetFileVersionInfoA");
    return platform ? platform(fileName, handle, length, data) : FALSE;
}

BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length)
{
    const auto platform = Find<decltype(&::VerQueryValueA)>(SystemLibrary::kVersion, "VerQueryValueA");
    return platform ? platform(block, subBlock, value, length) : FALSE;
}

DWORD SetupGetFileCompressionInfoA(PCSTR sourceName, PSTR* actualSourceName, PDWORD sourceSize, PDWORD targetSize,
                                   PUINT compressionType)
{
    const auto platform =
        Find<decltype(&::SetupGetFileCompressionInfoA)>(SystemLibrary::kSetupApi, "SetupGetFileCompressionInfoA");
    return platform ? platform(sourceName, actualSourceName, sourceSize, targetSize, compressionType)
                    : ERROR_PROC_NOT_FOUND;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls)
{
    const auto platform = Find<decltype(&::InitCommonControlsEx)>(SystemLibrary::kCommonControls, "InitCommonControlsEx");
    return platform ? platform(controls) : FALSE;
}

DWORD SetNamedSecurityInfoA(LPSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION information,
                            PSID owner, PSID group, PACL dacl, PACL sacl)
{
    const auto platform = FindAdvapiFunction<decltype(&::SetNamedSecurityInfoA)>("SetNamedSecurityInfoA");
    return platform ? platform(objectName, objectType, information, owner, group, dacl, sacl) : ERROR_PROC_NOT_FOUND;
}

BOOL CheckTokenMembership(HANDLE token, PSID sid, PBOOL isMember)
{
    const auto platform = FindAdvapiFunction<decltype(&::CheckTokenMembership)>("CheckTokenMembership");
    return platform ? platform(token, sid, isMember) : FALSE;
}

}  // namespace sys
