// Drives setup.exe (and later Unskein.exe) from outside, as a person would:
// prepares a medium, starts the program there, finds its windows, reads and
// answers its message boxes, and collects its exit code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/support.h"

namespace e2e {

// An installation medium: a folder with SetupScript.INI and source files.
class Medium {
public:
    Medium();
    const std::string& path() const { return dir_.path(); }
    std::string operator/(const std::string& name) const { return dir_ / name; }
    void WriteScript(const std::string& text) const;
    // Writes a file below the medium, creating its folders.
    void AddFile(const std::string& relativePath, const std::string& bytes) const;

private:
    testing_support::TempDir dir_;
};

struct RunOptions {
    // Pose as Windows 98 (platform 1) for this run only.
    bool windows98 = false;
};

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

// Milliseconds for a window or an exit to come, before a test fails.
constexpr DWORD kWaitMs = 15000;

// The top-level windows of a process, visible or not.
std::vector<HWND> WindowsOf(DWORD processId);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// A message box, as opposed to a page or a dialog of setup's own templates.
bool IsMessageBox(HWND window);

// Polls `condition` every 20 ms until it holds or `timeoutMs` passes.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
}

class ProgramRun {
public:
    // Starts `program` (a path) in `workingDirectory`.
    ProgramRun(const std::string& program, const std::string& workingDirectory);
    ~ProgramRun();  // ends the program if it still runs
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    DWORD processId() const { return process_.dwProcessId; }
    bool Running() const;

    // The next message box the program shows; fails the test after the wait.
    MessageBoxSeen NextMessageBox(DWORD timeoutMs = kWaitMs);
    // Reads the next message box, checks caption and text exactly, answers it
    // with the button `answer` (IDOK, IDYES, IDNO, ...).
    void ExpectMessageBox(const std::string& caption, const std::string& text, int answer);
    // Presses a button of a message box or dialog.
    void Press(HWND dialog, int buttonId);

    // A visible dialog of the program that has a control with this id.
    HWND WaitForDialogWith(int controlId, DWORD timeoutMs = kWaitMs);
    HWND WaitForWindowOfClass(const std::string& className, DWORD timeoutMs = kWaitMs);

    // Waits for the program to end and returns its exit code as the signed
    // number the program returned. A message box still open fails the test.
    int WaitForExit(DWORD timeoutMs = kWaitMs);

private:
    PROCESS_INFORMATION process_{};
    std::vector<HWND> answered_;  // message boxes answered, which may linger briefly
};

// setup.exe of the build under test.
std::string SetupProgram();

// Starts setup.exe on a medium. With `windows98` the program runs under a
// name of its own that Wine is told to show Windows 98 to.
class SetupRun : public ProgramRun {
public:
    explicit SetupRun(const Medium& medium, RunOptions options = {});
    ~SetupRun();

private:
    static std::string Prepare(const Medium& medium, const RunOptions& options);
    std::string windows98Key_;  // Wine's per-program settings, removed afterwards
};

}  // namespace e2e
