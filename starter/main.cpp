// starter.exe, the program that tesselpack --single-file makes into one
// download: it unpacks setup.exe, Unskein.exe and the script into a folder
// of its own under TEMP, runs setup.exe from there, which reads the other
// files from the package, checks those while setup starts, waits for it,
// removes the folder and ends with setup's exit code.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/handles.h"
#include "common/out_of_memory.h"
#include "common/system_error.h"
#include "common/system_folder.h"
#include "common/system_paths.h"
#include "common/unpacked_medium.h"
#include "starter/progress_window.h"
#include "starter/unpack.h"

namespace {

// Beside setup's own exit codes, which come through unchanged.
constexpr int kExitCannotUnpack = -12;
constexpr int kExitCannotStartSetup = -13;
constexpr int kExitCannotReadItself = -14;

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

std::string Decimal(HANDLE handle)
{
    uintptr_t number = reinterpret_cast<uintptr_t>(handle);
    std::string text;
    do
        text.insert(text.begin(), static_cast<char>('0' + number % 10));
    while (number /= 10);
    return text;
}

HANDLE InheritableCopy(HANDLE handle, DWORD access, DWORD options)
{
    HANDLE copy = nullptr;
    return DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, access, TRUE, options) ? copy
                                                                                                          : nullptr;
}

// setup.exe in the folder, with the folder as its current directory, where
// it finds the script; the files that stay in the package it reads from
// there, and it installs none before Allow (common/unpacked_medium.h).
class SetupRun {
public:
    explicit SetupRun(const std::string& folder);
    ~SetupRun()
    {
        if (process_.hProcess)
            CloseHandle(process_.hProcess);
        if (process_.hThread)
            CloseHandle(process_.hThread);
    }
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    // The system's error when setup could not be started, 0 when it runs.
    DWORD Error() const { return error_; }
    // The package is whole: setup goes on.
    void Allow() { SetEvent(checked_.get()); }
    // It is not: setup ends before it has installed anything.
    void Stop() { TerminateProcess(process_.hProcess, static_cast<UINT>(kExitDamagedPackage)); }
    DWORD WaitForExitCode()
    {
        WaitForSingleObject(process_.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    SECURITY_ATTRIBUTES inherited_ = {sizeof inherited_, nullptr, TRUE};
    OwnedHandle checked_{CreateEventA(&inherited_, TRUE, FALSE, nullptr)};
    PROCESS_INFORMATION process_ = {};
    DWORD error_ = 0;
};

SetupRun::SetupRun(const std::string& folder)
{
    const ProgramFile setupsOwn;
    const OwnedHandle package(InheritableCopy(setupsOwn.Handle(), 0, DUPLICATE_SAME_ACCESS));
    const OwnedHandle starter(InheritableCopy(GetCurrentProcess(), SYNCHRONIZE, 0));
    if (!checked_.IsOpen() || !package.IsOpen() || !starter.IsOpen()) {
        error_ = GetLastError();
        return;
    }
    SetEnvironmentVariableA(kUnpackedMediumVariable, folder.c_str());
    SetEnvironmentVariableA(kPackageHandlesVariable,
                            (Decimal(package.get()) + " " + Decimal(checked_.get()) + " " + Decimal(starter.get()))
                                .c_str());
    const std::string program = folder + "\\setup.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &startup, &process_))
        error_ = GetLastError();
}

Failure::Kind Damage(const ProgramFile& program)
{
    return program.Error() ? Failure::kCannotRead : Failure::kDamaged;
}

int RefuseFailure(const Failure& failure, const ProgramFile& program)
{
    switch (failure.kind) {
    case Failure::kDamaged: return Refuse(kDamagedPackageMessage, kExitDamagedPackage);
    case Failure::kCannotRead: return RefuseUnreadable(program);
    default: return Refuse(failure.message, kExitCannotUnpack);
    }
}

// Unpacks the files at the top, checked as they are written, starts setup,
// and checks the files that stay in the package meanwhile.
int Start(HINSTANCE instance)
{
    ProgramFile program;
    if (!program.IsOpen())
        return RefuseUnreadable(program);
    const std::optional<payload::Package> package = payload::ReadPackage(program, program.Size());
    if (!package)
        return RefuseFailure({Damage(program), ""}, program);

    Failure failure;
    const std::string folder = CreatePrivateFolder(failure);
    if (folder.empty())
        return Refuse(failure.message, kExitCannotUnpack);
    auto window = std::make_unique<ProgressWindow>(instance, 2 * program.Size());
    StepProgress unpacking(window.get(), 0);
    failure = Unpack(program, *package, folder, &unpacking);
    if (failure.kind != Failure::kNone) {
        window.reset();
        RemoveFolder(folder);
        return RefuseFailure(failure, program);
    }

    DWORD exitCode = 0;
    {
        SetupRun setup(folder);
        if (const DWORD error = setup.Error()) {
            window.reset();
            RemoveFolder(folder);
            return Refuse("Setup cannot start " + folder + "\\setup.exe:\n\n" + SystemErrorSentence(error),
                          kExitCannotStartSetup);
        }
        StepProgress checking(window.get(), program.Size());
        failure.kind = payload::CheckContents(program, *package, payload::StaysInPackage, &checking)
                           ? Failure::kNone
                           : Damage(program);
        window.reset();
        if (failure.kind == Failure::kNone)
            setup.Allow();
        else
            setup.Stop();
        exitCode = setup.WaitForExitCode();
    }
    RemoveFolder(folder);
    return failure.kind == Failure::kNone ? static_cast<int>(exitCode) : RefuseFailure(failure, program);
}

}  // namespace

// As setup says it; what could not be unpacked for it, was not.
const OutOfMemoryEnding kOutOfMemoryEnding = {"Setup has run out of memory.", "Setup", kExitCannotUnpack};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    KeepDllSearchInSystemFolder();
    return Start(instance);
}
