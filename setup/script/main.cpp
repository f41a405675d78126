// setup.exe: start-up checks, built-in variables, the script, the end.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "common/handles.h"
#include "common/system_error.h"
#include "common/system_folder.h"
#include "setup/install/install_state.h"
#include "setup/install/temporary_folder.h"
#include "setup/script/startup.h"
#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/variables.h"
#include "setup/system/system_libraries.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/splash_and_background.h"

namespace {

const char kWininitWarning[] =
    "Wininit.exe may be corrupted. Setup checked the file size of wininit.exe, and it does not match the file "
    "size of the Windows 95, Windows 98, Windows NT, Windows ME or Windows 2000 version (all 32 bit windows "
    "versions that have been released until the current build of this setup). Therefore, the EXE may be "
    "corrupt and a restart may not be possible. If you have a newer Windows version, this may be a false "
    "alarm. Do you want to continue setup (not recommended if you do not have a newer version of Windows)?";

constexpr DWORD kSmallestWininit = 40801;
constexpr DWORD kProgramFilesBuffer = 260;

bool IsWindowsNt()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Reads a directory that a system call writes into a caller's buffer, whole
// whatever its length: a buffer too small would cut the path.
template <typename Getter>
std::string ReadSystemPath(Getter get)
{
    std::string path(MAX_PATH, '\0');
    DWORD length = get(static_cast<DWORD>(path.size()), &path[0]);
    if (length >= path.size()) {
        path.assign(length + 1, '\0');
        length = get(static_cast<DWORD>(path.size()), &path[0]);
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

std::string WindowsDirectory()
{
    return ReadSystemPath([](DWORD size, char* buffer) { return GetWindowsDirectoryA(buffer, size); });
}

// Windows 95, 98 and ME replace files in use through Wininit.exe at the next
// start. Returns false when the user declines to go on.
bool CheckWininit()
{
    const std::string path = WindowsDirectory() + "\\Wininit.exe";
    const OwnedHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsOpen()) {
        MessageBoxA(nullptr, "Wininit.exe not found! Setup can not replace DLLs that are in use!", "Error", MB_OK);
        return true;
    }
    if (GetFileSize(file.get(), nullptr) < kSmallestWininit)
        return MessageBoxA(nullptr, kWininitWarning, "Warning", MB_YESNO) != IDNO;
    return true;
}

// The program files base: ProgramFilesDir and "\", or "\" alone when the key
// is missing. A value that cannot be read (also one longer than its buffer
// of 260 bytes) ends setup with the system's message.
std::optional<std::string> ReadProgramFilesBase()
{
    std::string base;
    RegistryKey key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", key.out()) == ERROR_SUCCESS) {
        char value[kProgramFilesBuffer];
        DWORD size = sizeof value;
        const LONG error = RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(value), &size);
        if (error != ERROR_SUCCESS) {
            MessageBoxA(nullptr, SystemErrorText(static_cast<DWORD>(error)).c_str(), "Registry error", MB_OK);
            return std::nullopt;
        }
        base.assign(value, size);
        base.resize(base.find('\0') == std::string::npos ? base.size() : base.find('\0'));
    }
    return base + "\\";
}

// Starts the model with the built-in variables; nothing when setup cannot go
// on.
std::optional<std::string> SetBuiltInVariables()
{
    BuiltInFolders folders;
    folders.medium = ReadSystemPath([](DWORD size, char* buffer) { return GetCurrentDirectoryA(size, buffer); });
    folders.windows = WindowsDirectory();
    folders.system = ReadSystemPath([](DWORD size, char* buffer) { return GetSystemDirectoryA(buffer, size); });
    std::optional<std::string> base = ReadProgramFilesBase();
    if (base) {
        folders.programFilesBase = *base;
        StartModel(folders);
    }
    return base;
}

bool InitCommonControlsForPages()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    return sys::InitCommonControlsEx(&controls) == TRUE;
}

// Delivers what is queued, then ends: the quit message was posted just before.
void DrainMessages()
{
    PostQuitMessage(0);
    MSG message;
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0)
            break;
        if (result == -1) {
            MessageBoxA(nullptr, "Fatal application error! Setup cannot be continued!", "Fatal error", MB_ICONERROR);
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    KeepDllSearchInSystemFolder();
    if (!IsWindowsNt() && !CheckWininit())
        return kExitOk;

    gApp.instance = instance;
    gApp.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    gApp.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    CoInitialize(nullptr);

    gApp.splash = CreateSetupWindow(nullptr, kSplashClass, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU,
                                    gApp.screenWidth / 2 - 200, gApp.screenHeight / 2 - 100, 400, 200);
    ShowWindow(gApp.splash, SW_SHOW);
    UpdateWindow(gApp.splash);

    const std::optional<std::string> programFilesBase = SetBuiltInVariables();
    if (!programFilesBase)
        return kExitRegistryError;
    gInstall.programFilesFolder = programFilesBase->substr(0, programFilesBase->size() - 1);
    if (LoadScript(gVariables.Get("SETUPFILE")) < 0)
        return kExitNoScript;
    if (!InitCommonControlsForPages()) {
        MessageBoxA(nullptr,
                    "InitCommonControlsEx failed. ComCtl32.dll is not properly installed. Setup will be closed now.",
                    "Common controls not available", MB_ICONERROR);
        return kExitNoCommonControls;
    }
    Sleep(1250);

    gApp.background = CreateSetupWindow("Setup", kBackgroundClass, nullptr, WS_POPUP, 0, 0, gApp.screenWidth,
                                        gApp.screenHeight);
    ShowWindow(gApp.background, SW_SHOW);
    UpdateWindow(gApp.background);
    DestroyWindow(gApp.splash);
    const UINT_PTR timer = SetTimer(gApp.background, 1, 50, UpdateNextButton);

    const std::optional<int> early = RunScript(*programFilesBase);
    RemoveSetupTemporaryFolder();
    if (early)
        return *early;

    DrainMessages();
    KillTimer(gApp.background, timer);
    ReleaseSetupWindows();
    return kExitOk;
}
