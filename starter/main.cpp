// starter.exe, the program that tesselpack --single-file makes into one
// download: it checks the package it carries, unpacks the medium into a
// folder of its own under TEMP, runs setup.exe from there, waits for it,
// removes the folder and ends with setup's exit code.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/handles.h"
#include "common/system_error.h"
#include "common/system_folder.h"
#include "common/system_paths.h"
#include "common/unpacked_medium.h"
#include "starter/progress_window.h"
#include "starter/unpack.h"

namespace {

// Beside setup's own exit codes, which come through unchanged.
constexpr int kExitDamaged = -11;
constexpr int kExitCannotUnpack = -12;
constexpr int kExitCannotStartSetup = -13;
constexpr int kExitCannotReadItself = -14;

// From this size on, checking and unpacking take long enough to be shown.
constexpr uint64_t kShownFrom = 20u << 20;

const char kDamaged[] = "The installation package is damaged. Please download it again.";

int Refuse(const std::string& text, int exitCode)
{
    MessageBoxA(nullptr, text.c_str(), "Setup", MB_OK | MB_ICONSTOP);
    return exitCode;
}

// Not a damaged package: the system could not open or read the file.
int RefuseUnreadable(const ProgramFile& program)
{
    return Refuse("Setup cannot read its own file " + ProgramPath().path + ":\n\n" +
                      SystemErrorSentence(program.Error()) +
                      "\n\nSave the download in another folder, such as C:\\Downloads, and start it from there.",
                  kExitCannotReadItself);
}

std::string Decimal(uintptr_t number)
{
    std::string text;
    do
        text.insert(text.begin(), static_cast<char>('0' + number % 10));
    while (number /= 10);
    return text;
}

// setup.exe in the folder, with the folder as its current directory, where
// it finds the script; the rest of the medium it reads from the package,
// through a handle of the program's file that it alone inherits.
std::optional<DWORD> RunSetup(const std::string& folder, const ProgramFile& package, DWORD& error)
{
    const std::string program = folder + "\\setup.exe";
    HANDLE inherited = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), package.Handle(), GetCurrentProcess(), &inherited, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        error = GetLastError();
        return std::nullopt;
    }
    const OwnedHandle packageHandle(inherited);
    SetEnvironmentVariableA(kUnpackedMediumVariable, folder.c_str());
    SetEnvironmentVariableA(kPackageHandleVariable,
                            Decimal(reinterpret_cast<uintptr_t>(inherited)).c_str());
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        error = GetLastError();
        return std::nullopt;
    }
    const OwnedHandle thread(process.hThread), setup(process.hProcess);
    WaitForSingleObject(setup.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(setup.get(), &code);
    return code;
}

int Start(HINSTANCE instance)
{
    ProgramFile program;
    if (!program.IsOpen())
        return RefuseUnreadable(program);
    std::unique_ptr<ProgressWindow> window;
    if (program.Size() >= kShownFrom)
        window = std::make_unique<ProgressWindow>(instance, 2 * program.Size());

    StepProgress checking(window.get(), 0);
    const std::optional<payload::Package> package = payload::CheckPackage(program, program.Size(), &checking);
    if (!package)
        return program.Error() ? RefuseUnreadable(program) : Refuse(kDamaged, kExitDamaged);

    Failure failure;
    const std::string folder = CreatePrivateFolder(failure);
    if (folder.empty())
        return Refuse(failure.message, kExitCannotUnpack);
    StepProgress unpacking(window.get(), program.Size());
    failure = Unpack(program, *package, folder, &unpacking);
    window.reset();
    if (failure.kind != Failure::kNone) {
        RemoveFolder(folder);
        switch (failure.kind) {
        case Failure::kDamaged: return Refuse(kDamaged, kExitDamaged);
        case Failure::kCannotRead: return RefuseUnreadable(program);
        default: return Refuse(failure.message, kExitCannotUnpack);
        }
    }

    DWORD error = 0;
    const std::optional<DWORD> exitCode = RunSetup(folder, program, error);
    RemoveFolder(folder);
    if (!exitCode)
        return Refuse("Setup cannot start " + folder + "\\setup.exe:\n\n" + SystemErrorSentence(error),
                      kExitCannotStartSetup);
    return static_cast<int>(*exitCode);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    KeepDllSearchInSystemFolder();
    return Start(instance);
}
