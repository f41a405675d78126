#include "common/server_64.h"

#include <windows.h>

#include "common/handles.h"
#include "common/system_folder.h"
#include "common/system_paths.h"

namespace {

// regsvr32's exit codes. The calls that run it are looked up, since only a
// 64-bit Windows comes here and the import lists stay as Windows 95 takes them.
constexpr DWORD kServerDone = 0;
constexpr DWORD kLoadFailed = 3;
constexpr DWORD kNoEntryPoint = 4;

}  // namespace

ServerOutcome RegisterWith64BitServer(const std::string& path, bool unregister)
{
    const std::string server = SystemDirectory().path + "\\regsvr32.exe";
    std::string commandLine = "\"" + server + (unregister ? "\" /u /s \"" : "\" /s \"") + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const auto create = reinterpret_cast<decltype(&CreateProcessA)>(FindKernelFunction("CreateProcessA"));
    const auto wait = reinterpret_cast<decltype(&WaitForSingleObject)>(FindKernelFunction("WaitForSingleObject"));
    const auto exitCodeOf = reinterpret_cast<decltype(&GetExitCodeProcess)>(FindKernelFunction("GetExitCodeProcess"));
    if (!create || !wait || !exitCodeOf ||
        !create(server.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                &startup, &process))
        return ServerOutcome::kFailed;
    const OwnedHandle thread(process.hThread);
    const OwnedHandle child(process.hProcess);
    DWORD exitCode = 1;
    if (wait(child.get(), INFINITE) != WAIT_OBJECT_0 || !exitCodeOf(child.get(), &exitCode))
        return ServerOutcome::kFailed;
    switch (exitCode) {
    case kServerDone: return ServerOutcome::kRegistered;
    case kNoEntryPoint: return ServerOutcome::kNotRegistrable;
    case kLoadFailed: return ServerOutcome::kNotModule;
    default: return ServerOutcome::kFailed;
    }
}
