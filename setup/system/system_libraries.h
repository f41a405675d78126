// The DLLs setup uses beyond the ones it imports. setup.exe usually starts
// from a download folder or a medium, where anyone may have put a DLL beside
// it; Windows looks there first for every DLL that is not a known DLL. So
// each of these DLLs is loaded by its full path in the system folder, and a
// function the system lacks fails as the platform call fails.
// (common/system_folder.h loads them.)
#pragma once

#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>

#include <string>

enum class SystemLibrary { kVersion, kSetupApi, kCommonControls, kProcessStatus, kVdmDebug, kOleAutomation };

// Loads them all now: with the file system redirection off, the system
// folder would offer this 32-bit program the 64-bit ones.
void LoadSystemLibraries();

// A function of a system library; null when the library or the function is missing.
FARPROC FindSystemFunction(SystemLibrary library, const char* name);

template <typename Function>
Function FindSystemFunction(SystemLibrary library, const char* name)
{
    return reinterpret_cast<Function>(FindSystemFunction(library, name));
}

// The platform's calls with the platform's parameters. Where the function is
// missing they return what the platform returns on failure, with the last
// error ERROR_PROC_NOT_FOUND.
namespace sys {

// Missing: 0 with both directories empty.
DWORD VerFindFileA(DWORD flags, LPSTR fileName, LPSTR windowsDirectory, LPSTR applicationDirectory,
                   LPSTR currentDirectory, PUINT currentLength, LPSTR destinationDirectory, PUINT destinationLength);
// Missing: VIF_CANNOTCREATE, as when the file could not be created.
DWORD VerInstallFileA(DWORD flags, LPSTR sourceName, LPSTR destinationName, LPSTR sourceDirectory,
                      LPSTR destinationDirectory, LPSTR currentDirectory, LPSTR temporaryName, PUINT temporaryLength);
DWORD GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length);
DWORD SetupGetFileCompressionInfoA(PCSTR sourceName, PSTR* actualSourceName, PDWORD sourceSize, PDWORD targetSize,
                                   PUINT compressionType);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
// Of advapi32, which setup imports; both are missing on Windows 95, 98 and
// ME (CheckTokenMembership also on NT 4.0), where the import table must not
// name them.
DWORD SetNamedSecurityInfoA(LPSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION information,
                            PSID owner, PSID group, PACL dacl, PACL sacl);
BOOL CheckTokenMembership(HANDLE token, PSID sid, PBOOL isMember);

}  // namespace sys
