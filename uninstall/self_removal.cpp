#include "uninstall/self_removal.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "common/handles.h"
#include "common/system_paths.h"
#include "common/whole_file.h"
#include "common/wininit.h"
#include "uninstall/program_made_files.h"
#include "uninstall/text/log_reader.h"
#include "uninstall/text/path_rules.h"

namespace {

const char kStageSwitch[] = "/remove-rest ";
// How long the second stage waits for the first to end, and then for the
// system to let its file go.
constexpr DWORD kFirstStageWaitMs = 60000;
constexpr int kDeleteTries = 50;
constexpr DWORD kDeleteRetryMs = 100;

std::string WithoutTrailingBackslash(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    return SameProgramPath(WithoutTrailingBackslash(ShortForm(a)), WithoutTrailingBackslash(ShortForm(b)));
}

bool NamesFile(const std::vector<std::string>& files, const std::string& path)
{
    const std::string shortPath = ShortForm(path);
    for (const std::string& file : files)
        if (SameProgramPath(file, shortPath) || SameProgramPath(file, path))
            return true;
    return false;
}

bool NamesFolder(const std::vector<std::string>& folders, const std::string& folder)
{
    for (const std::string& named : folders)
        if (SameFolder(named, folder))
            return true;
    return false;
}

// The first stage's file is free once the system has unloaded it, which
// may take a moment after the process ended.
void DeleteOnceReleased(const std::string& path)
{
    for (int tries = 0; tries < kDeleteTries && !DeleteFileA(path.c_str()) &&
                        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++tries)
        Sleep(kDeleteRetryMs);
}

// The installation folder once empty, then each folder above it that setup
// made (the log names it), as long as each is empty.
void RemoveEmptyFolders(std::string folder, const std::vector<std::string>& madeFolders)
{
    const KeptFolders kept = SystemKeptFolders();
    if (IsKept(folder, kept))
        return;
    for (;;) {
        if (!RemoveDirectoryA(folder.c_str()))
            return;
        const std::size_t slash = folder.rfind('\\');
        if (slash == std::string::npos)
            return;
        folder.resize(slash);
        if (!NamesFolder(madeFolders, folder) || IsKept(folder, kept))
            return;
    }
}

// What the first stage could not remove, re-read from the log beside it
// under the log's rules.
void RemoveWhatIsLeft(const std::string& programPath)
{
    if (!IsFullPlainPath(programPath))
        return;
    const std::string logPath = LogPathBeside(programPath);
    const std::optional<std::string> log = ReadWholeFile(logPath);
    if (!log)
        return;
    const RemovalPlan plan = PlanRemoval(ReadUninstallLog(*log));
    if (!plan.cleanUninstall || !NamesFile(plan.files, programPath))
        return;
    DeleteOnceReleased(programPath);
    DeleteFileA(logPath.c_str());
    RemoveEmptyFolders(programPath.substr(0, programPath.rfind('\\')), plan.directories);
}

// A new file in TEMP holding this program; never one that was there, which
// another program could have put there, or made a link to elsewhere.
std::optional<std::string> CopyIntoTemp(const std::string& programPath)
{
    const SystemPath temp = TemporaryDirectory();
    if (!temp.IsUsable())
        return std::nullopt;
    const std::string stem = temp.path + "Unskein-" + std::to_string(GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string copy = stem + (attempt == 0 ? "" : "-" + std::to_string(attempt)) + ".exe";
        if (CopyFileA(programPath.c_str(), copy.c_str(), TRUE))
            return copy;
    }
    return std::nullopt;
}

// On Windows NT the copy is opened to be deleted on close, and the second
// stage inherits that handle: the file goes when the stage ends.
HANDLE HoldForDeletion(const std::string& copy, SECURITY_ATTRIBUTES& inherited)
{
    return CreateFileA(copy.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, OPEN_EXISTING,
                       FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Where the system still maps the file of an ending program when it closes
// the program's handles, deleting on close fails: the copy then goes at the
// next start. Only a copy in TEMP: the installed Unskein.exe, started with
// the stage's switch by another program, must not schedule itself away.
void DeleteOwnCopyAtNextStart()
{
    const std::string self = ProgramPath().path;
    const SystemPath temp = TemporaryDirectory();
    if (IsWindowsNt() && temp.IsUsable() && SameFolder(self.substr(0, self.rfind('\\')), temp.path))
        MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

bool IsSelfRemovalStage(const char* commandLine)
{
    return commandLine && std::strncmp(commandLine, kStageSwitch, sizeof kStageSwitch - 1) == 0;
}

int RunSelfRemovalStage(const char* commandLine)
{
    char* rest = nullptr;
    const unsigned long value = std::strtoul(commandLine + sizeof kStageSwitch - 1, &rest, 10);
    if (*rest != ' ')
        return 0;
    const OwnedHandle firstStage(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)));
    if (WaitForSingleObject(firstStage.get(), kFirstStageWaitMs) == WAIT_OBJECT_0)
        RemoveWhatIsLeft(rest + 1);
    DeleteOwnCopyAtNextStart();
    return 0;
}

bool StartSelfRemoval(const std::string& programPath)
{
    const std::optional<std::string> copy = CopyIntoTemp(programPath);
    if (!copy)
        return false;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const OwnedHandle held(IsWindowsNt() ? HoldForDeletion(*copy, inherited) : nullptr);
    if (!IsWindowsNt())
        DeleteFileAtRestart(*copy);
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
        return false;
    const OwnedHandle ownedSelf(self);
    std::string commandLine = "\"" + *copy + "\" " + kStageSwitch +
                              std::to_string(static_cast<unsigned long>(reinterpret_cast<uintptr_t>(self))) + " " +
                              programPath;
    const std::string temp = copy->substr(0, copy->rfind('\\') + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copy->c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &startup,
                        &process)) {
        DeleteFileA(copy->c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
