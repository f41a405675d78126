// setup.exe: start-up checks, built-in variables, the script, the end.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "common/handles.h"
#include "common/out_of_memory.h"
#include "common/screen_dpi.h"
#include "common/shell_folders.h"
#include "common/system_error.h"
#include "common/system_folder.h"
#include "common/system_paths.h"
#include "common/windows64.h"
#include "setup/install/install_state.h"
#include "setup/install/temporary_folder.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/starter_folder.h"
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

// Windows 95, 98 and ME replace files in use through Wininit.exe at the next
// start. Returns false when the user declines to go on.
bool CheckWininit()
{
    const std::string path = WindowsDirectory().path + "\\Wininit.exe";
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

// ProgramFilesDir: from the wide call on Windows NT, where the "A" call would
// turn the letters this code page lacks into "?".
LONG ReadProgramFilesDir(HKEY key, SystemPath& folder)
{
    using WideQuery = decltype(&RegQueryValueExW);
    if (const auto query = FindWideFunction<WideQuery>("ADVAPI32.DLL", "RegQueryValueExW")) {
        wchar_t value[kProgramFilesBuffer + 1] = {};  // a zero after the longest value
        DWORD size = kProgramFilesBuffer * sizeof value[0];
        const LONG error =
            query(key, L"ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        if (error == ERROR_SUCCESS)
            folder = SpelledPath(value);
        return error;
    }
    char value[kProgramFilesBuffer + 1] = {};
    DWORD size = kProgramFilesBuffer;
    const LONG error = RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    if (error == ERROR_SUCCESS)
        folder = {value};
    return error;
}

// A folder whose name the "A" calls cannot take ends setup, with a message
// that names it and says what to do: nothing is written into a folder of
// another name.
bool IsUsableFolder(const SystemPath& folder, const char* remedy)
{
    if (folder.spelled)
        return true;
    MessageBoxA(nullptr, (UnspelledFolderText(folder.path) + "\n\n" + remedy).c_str(), "Fatal error",
                MB_ICONERROR);
    return false;
}

const char kCannotContinue[] = "Setup cannot be continued.";

// The program files base: ProgramFilesDir and "\", or "\" alone when the key
// is missing. A value that cannot be read (also one longer than its buffer
// of 260 characters) ends setup with the system's message.
int ReadProgramFilesBase(std::string& base)
{
    SystemPath folder;
    RegistryKey key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", key.out()) == ERROR_SUCCESS) {
        const LONG error = ReadProgramFilesDir(key.get(), folder);
        if (error != ERROR_SUCCESS) {
            MessageBoxA(nullptr, SystemErrorText(static_cast<DWORD>(error)).c_str(), "Registry error", MB_OK);
            return kExitRegistryError;
        }
    }
    if (!IsUsableFolder(folder, kCannotContinue))
        return kExitUnspelledFolder;
    base = folder.path + "\\";
    return kExitOk;
}

// The user's application data folder. Windows 95 without the newer shell
// knows none and keeps it in the Windows folder. One that the code page
// cannot spell keeps its stand-ins, so that it names no folder at all.
std::string ApplicationDataFolder(const std::string& windows)
{
    const SystemPath folder = ShellFolderPath(CSIDL_APPDATA);
    return folder.path.empty() ? windows + "\\Application Data" : folder.path;
}

// The Windows family and width; on 64-bit Windows also the 64-bit program
// files base, read from the 64-bit registry view (empty when it cannot be
// read: the installation then stays in the 32-bit folders). The key always
// exists; the call that creates keys opens it with the imports setup has.
MachineFacts ReadMachineFacts()
{
    MachineFacts machine;
    machine.nt = IsWindowsNt();
    machine.windows64 = IsWindows64();
    RegistryKey key;
    SystemPath folder;
    if (machine.windows64 &&
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0,
                        RegistryAccess(KEY_QUERY_VALUE, true), nullptr, key.out(), nullptr) == ERROR_SUCCESS &&
        ReadProgramFilesDir(key.get(), folder) == ERROR_SUCCESS && folder.spelled && !folder.path.empty())
        machine.programFiles64Base = folder.path + "\\";
    return machine;
}

// Starts the model with the built-in variables. Returns the exit code when
// setup cannot go on.
int SetBuiltInVariables(std::string& programFilesBase)
{
    const SystemPath current = CurrentDirectory();
    if (!IsUsableFolder(current, "Copy the installation files into another folder, such as C:\\Setup, and start "
                                 "setup there."))
        return kExitUnspelledFolder;
    const SystemPath windows = WindowsDirectory();
    const SystemPath system = SystemDirectory();
    if (!IsUsableFolder(windows, kCannotContinue) || !IsUsableFolder(system, kCannotContinue))
        return kExitUnspelledFolder;
    const int exitCode = ReadProgramFilesBase(programFilesBase);
    if (exitCode == kExitOk)
        StartModel({current.path, windows.path, system.path, programFilesBase, ApplicationDataFolder(windows.path),
                    ReadMachineFacts()});
    return exitCode;
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

int RunSetup(HINSTANCE instance)
{
    if (!IsWindowsNt() && !CheckWininit())
        return kExitOk;

    gApp.instance = instance;
    gApp.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    gApp.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    gApp.dpi = ScreenDpi();
    CoInitialize(nullptr);

    gApp.splash = CreateSetupWindow(nullptr, kSplashClass, nullptr, WS_POPUP | WS_BORDER | WS_SYSMENU,
                                    gApp.screenWidth / 2 - Scaled(kSplashWidth / 2),
                                    gApp.screenHeight / 2 - Scaled(kSplashHeight / 2), Scaled(kSplashWidth),
                                    Scaled(kSplashHeight));
    ShowWindow(gApp.splash, SW_SHOW);
    UpdateWindow(gApp.splash);

    std::string programFilesBase;
    if (const int exitCode = SetBuiltInVariables(programFilesBase); exitCode != kExitOk)
        return exitCode;
    gInstall.programFilesFolder = programFilesBase.substr(0, programFilesBase.size() - 1);
    TakePackagedMedium(gVariables.Get("SP"));
    if (LoadScript(gVariables.Get("SETUPFILE")) < 0)
        return kExitNoScript;
    if (!InitCommonControlsForPages()) {
        MessageBoxA(nullptr,
                    "InitCommonControlsEx failed. ComCtl32.dll is not properly installed. Setup will be closed now.",
                    "Common controls not available", MB_ICONERROR);
        return kExitNoCommonControls;
    }
    if (!WaitForCheckedPackage(1250))
        return kExitPackageUnchecked;

    gApp.background = CreateSetupWindow("Setup", kBackgroundClass, nullptr, WS_POPUP, 0, 0, gApp.screenWidth,
                                        gApp.screenHeight);
    ShowWindow(gApp.background, SW_SHOW);
    UpdateWindow(gApp.background);
    DestroyWindow(gApp.splash);
    const UINT_PTR timer = SetTimer(gApp.background, 1, 50, UpdateNextButton);

    const std::optional<int> early = RunScript(programFilesBase);
    RemoveSetupTemporaryFolder();
    if (early)
        return *early;

    DrainMessages();
    KillTimer(gApp.background, timer);
    ReleaseSetupWindows();
    return kExitOk;
}

}  // namespace

const OutOfMemoryEnding kOutOfMemoryEnding = {"Setup has run out of memory.", "Fatal error", kExitOutOfMemory};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    KeepDllSearchInSystemFolder();
    const int exitCode = RunSetup(instance);
    RemoveFolderOfEndedStarter();
    return exitCode;
}
