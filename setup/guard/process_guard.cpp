#include "setup/guard/process_guard.h"

#include <tlhelp32.h>

#include <memory>
#include <new>

#include "common/handles.h"
#include "common/system_paths.h"
#include "setup/guard/text/process_names.h"
#include "setup/system/system_libraries.h"

namespace {

// The process-listing functions are looked up at run time, so setup starts
// on systems that lack them.
using EnumProcessesFunction = BOOL(WINAPI*)(DWORD* ids, DWORD bytes, DWORD* bytesReturned);
using EnumProcessModulesFunction = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* needed);
using GetModuleFileNameExFunction = DWORD(WINAPI*)(HANDLE process, HMODULE module, LPSTR path, DWORD size);
using TaskEnumProc = BOOL(WINAPI*)(DWORD threadId, WORD module16, WORD task16, PSZ moduleName, PSZ fileName,
                                   LPARAM context);
using VdmEnumTaskWowExFunction = INT(WINAPI*)(DWORD processId, TaskEnumProc callback, LPARAM context);
using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using Process32Function = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);

// Room for the longest path Windows NT knows, so no executable name is cut.
constexpr DWORD kLongestPath = 32768;
constexpr DWORD kFirstIdCount = 256;

struct NtFunctions {
    EnumProcessesFunction enumProcesses;
    EnumProcessModulesFunction enumProcessModules;
    GetModuleFileNameExFunction getModuleFileNameEx;
    VdmEnumTaskWowExFunction vdmEnumTaskWowEx;
};

// The 16-bit tasks of one virtual DOS machine, passed on under its process id.
struct TaskWalk {
    DWORD processId;
    ProcessCallback callback;
    LPARAM value;
    bool stopped;
};

BOOL WINAPI PassTaskOn(DWORD, WORD, WORD task, PSZ, PSZ fileName, LPARAM context)
{
    auto* walk = reinterpret_cast<TaskWalk*>(context);
    if (walk->callback(walk->processId, task, fileName, walk->value))
        return FALSE;
    walk->stopped = true;
    return TRUE;  // ends the task enumeration
}

// The ids of all processes: a full buffer may have cut the list, so it
// doubles until the list fits. Without the memory for it, no list.
struct ProcessIds {
    std::unique_ptr<DWORD[]> ids;
    DWORD count = 0;
};

bool ListProcessIds(EnumProcessesFunction enumProcesses, ProcessIds& list)
{
    for (DWORD capacity = kFirstIdCount;; capacity *= 2) {
        list.ids.reset(new (std::nothrow) DWORD[capacity]);
        if (!list.ids)
            return false;
        const DWORD bytes = capacity * sizeof(DWORD);
        DWORD returned = 0;
        if (!enumProcesses(list.ids.get(), bytes, &returned))
            return false;
        if (returned < bytes) {
            list.count = returned / sizeof(DWORD);
            return true;
        }
    }
}

// The full path of a process's program file; empty for processes that cannot
// be opened or queried (the idle and system processes, other users' ones).
std::string ExecutableOf(const NtFunctions& nt, DWORD processId)
{
    OwnedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.IsOpen())
        return "";
    HMODULE firstModule = nullptr;
    DWORD needed = 0;
    if (!nt.enumProcessModules(process.get(), &firstModule, sizeof firstModule, &needed))
        return "";
    std::string path(kLongestPath, '\0');
    const DWORD length = nt.getModuleFileNameEx(process.get(), firstModule, &path[0], kLongestPath);
    path.resize(length < kLongestPath ? length : 0);
    return path;
}

bool WalkNtProcesses(ProcessCallback callback, LPARAM value)
{
    const NtFunctions nt{
        FindSystemFunction<EnumProcessesFunction>(SystemLibrary::kProcessStatus, "EnumProcesses"),
        FindSystemFunction<EnumProcessModulesFunction>(SystemLibrary::kProcessStatus, "EnumProcessModules"),
        FindSystemFunction<GetModuleFileNameExFunction>(SystemLibrary::kProcessStatus, "GetModuleFileNameExA"),
        FindSystemFunction<VdmEnumTaskWowExFunction>(SystemLibrary::kVdmDebug, "VDMEnumTaskWOWEx")};
    if (!nt.enumProcesses || !nt.enumProcessModules || !nt.getModuleFileNameEx || !nt.vdmEnumTaskWowEx)
        return false;
    ProcessIds list;
    if (!ListProcessIds(nt.enumProcesses, list))
        return false;
    for (DWORD i = 0; i < list.count; ++i) {
        const DWORD id = list.ids[i];
        const std::string executable = ExecutableOf(nt, id);
        if (!callback(id, 0, executable.c_str(), value))
            break;
        if (IsVirtualDosMachine(executable)) {
            TaskWalk walk{id, callback, value, false};
            nt.vdmEnumTaskWowEx(id, PassTaskOn, reinterpret_cast<LPARAM>(&walk));
            if (walk.stopped)
                break;
        }
    }
    return true;
}

// Windows 95, 98 and ME: the tool-help functions of the kernel.
bool WalkToolHelpProcesses(ProcessCallback callback, LPARAM value)
{
    const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    const auto createSnapshot =
        reinterpret_cast<CreateSnapshotFunction>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
    const auto first = reinterpret_cast<Process32Function>(GetProcAddress(kernel, "Process32First"));
    const auto next = reinterpret_cast<Process32Function>(GetProcAddress(kernel, "Process32Next"));
    if (!createSnapshot || !first || !next)
        return false;
    const OwnedHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsOpen())
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL found = first(snapshot.get(), &entry); found; found = next(snapshot.get(), &entry)) {
        if (!callback(entry.th32ProcessID, 0, entry.szExeFile, value))
            break;
        entry.dwSize = sizeof entry;
    }
    return true;
}

}  // namespace

bool EnumerateProcesses(ProcessCallback callback, LPARAM value)
{
    return IsWindowsNt() ? WalkNtProcesses(callback, value) : WalkToolHelpProcesses(callback, value);
}

BOOL CollectProcessName(DWORD, WORD, const char* executable, LPARAM value)
{
    AddProcessName(*reinterpret_cast<ProcessNameTable*>(value), executable);
    return TRUE;
}

bool IsProcessRunning(std::string& name)
{
    ProcessNameTable table;
    EnumerateProcesses(CollectProcessName, reinterpret_cast<LPARAM>(&table));
    LowerAsciiLetters(name);
    return TableHoldsName(table, name);
}
