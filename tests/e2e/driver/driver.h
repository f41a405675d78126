// Drives setup.exe (and later Unskein.exe) from outside, as a person would:
// prepares a medium, starts the program there, finds its windows, reads and
// answers its message boxes, and collects its exit code.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
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
    // DLLs (names without ".dll") that Wine takes from beside setup.exe before
    // its own, as Windows does for every DLL that is not a known DLL.
    std::vector<std::string> dllsFromBeside = {};
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

class Page;
class FolderBrowser;

class ProgramRun {
public:
    // Starts `program` (a path) in `workingDirectory`, with `arguments` after
    // its quoted path on the command line.
    ProgramRun(const std::string& program, const std::string& workingDirectory, const std::string& arguments = "");
    // The same by real names, which may hold letters this code page lacks.
    ProgramRun(const std::wstring& program, const std::wstring& workingDirectory);
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
    // Expects setup's question whether to quit (Cancel on a page) and answers it.
    void AnswerQuitQuestion(int answer);

    // A visible dialog of the program that has a control with this id.
    HWND WaitForDialogWith(int controlId, DWORD timeoutMs = kWaitMs);
    HWND WaitForWindowOfClass(const std::string& className, DWORD timeoutMs = kWaitMs);

    // The wizard page that has a control with this id (1001 welcome, 1029
    // destination, 1009 sections, 1030 program group, 1028 copy); fails the
    // test when none comes.
    Page WaitForPage(int controlId, DWORD timeoutMs = kWaitMs);
    // The shell's folder browser, once it is shown.
    FolderBrowser WaitForFolderBrowser(DWORD timeoutMs = kWaitMs);
    // Whether a message box is open that the test has not answered yet.
    bool HasOpenMessageBox();
    // Waits until the message boxes and dialogs answered so far are gone.
    void WaitUntilAnsweredClosed();

    // Waits for the program to end and returns its exit code as the signed
    // number the program returned. A message box still open fails the test.
    int WaitForExit(DWORD timeoutMs = kWaitMs);

private:
    // The windows of the program and of the programs it started, such as the
    // uninstall command that Wine's list of programs runs.
    std::vector<HWND> Windows() const;
    PROCESS_INFORMATION process_{};
    std::vector<HWND> answered_;  // message boxes answered, which may linger briefly
};

// Memory in another process, for messages whose parameters point to
// structures or texts: they do not cross process boundaries by themselves.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    // The address in the other process, to put into a message.
    void* address() const { return address_; }
    template <typename T>
    T* at(size_t offset) const { return reinterpret_cast<T*>(static_cast<char*>(address_) + offset); }
    void Write(size_t offset, const void* bytes, size_t size);
    void Read(size_t offset, void* bytes, size_t size) const;
    std::string ReadString(size_t offset, size_t maxSize) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// A control's styles and place, as the program created it.
DWORD Style(HWND window);
DWORD ExStyle(HWND window);
// The control's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
int CheckState(HWND button);  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE

// The colours of a rectangle of a window's client area as the screen shows
// them, row by row. Puts the window above all others first.
std::vector<COLORREF> ClientPixels(HWND window, int x, int y, int width, int height);
// The format that ClientPixels reads the screen in, for reading other
// pictures alike: 32 bits a pixel, rows from the top.
BITMAPINFO TopDownPixelFormat(int width, int height);

// A wizard page or another dialog of the program, operated as a person
// would. The actions fail the test when the control cannot be used (missing,
// hidden or disabled), since a person could not use it either.
class Page {
public:
    Page() = default;
    Page(ProgramRun& run, HWND window) : run_(&run), window_(window) {}
    explicit operator bool() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    bool IsOpen() const { return window_ && IsWindow(window_) && IsWindowVisible(window_); }
    // Waits until the page is gone; false when it stays.
    bool WaitUntilClosed(DWORD timeoutMs = kWaitMs) const;

    std::string Title() const { return WindowText(window_); }
    HWND Control(int id) const;  // fails the test when missing
    // The page's child windows in creation order, including those the script adds.
    std::vector<HWND> Children() const;
    // A script-defined control (identifier 0) by its text; null when none.
    HWND CustomControl(const std::string& text) const;

    std::string Text(int id) const { return WindowText(Control(id)); }
    bool IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool IsVisible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
    bool IsChecked(int id) const { return CheckState(Control(id)) == BST_CHECKED; }
    // Waits for the timer to enable or disable a control.
    bool WaitForEnabled(int id, bool enabled, DWORD timeoutMs = kWaitMs) const;

    void Click(int id) const { Click(Control(id)); }
    void Click(HWND control) const;
    // Replaces the text of an edit control as typing would, so the page gets
    // its change notification. Returns once the page has handled it, or once
    // it shows a message box in response.
    void Type(int id, const std::string& text) const { Type(Control(id), text); }
    void Type(HWND edit, const std::string& text) const;
    // Clicks a check box until it shows the wanted state.
    void SetChecked(int id, bool checked) const;
    // A mouse click in the middle of a control, for controls that are no buttons.
    void ClickWithMouse(HWND control) const;
    void PressEscape() const;
    // The window that has the keyboard focus in the page's program; null
    // when none has.
    HWND FocusedControl() const;
    // Waits until `control` has the keyboard focus; false when it does not get it.
    bool WaitForFocus(HWND control) const;
    // A key pressed and released where the keyboard focus is, through the
    // program's message loop as typing would (Tab and Space as the dialog
    // manager handles them). Returns once posted: wait for the effect.
    void PressKeyOnFocus(WPARAM key) const;
    // Presses Tab until `control` has the focus; false when it never gets it.
    bool TabTo(HWND control) const;
    void PressCloseBox() const;
    // Returns once the answered message boxes are gone and the program reads
    // messages again (in this page's loop or in a message box it shows):
    // what it did in response to the answers and to earlier typing has
    // happened by then. Posted clicks may still wait their turn.
    void Settle() const;

private:
    void ExpectUsable(HWND control) const;
    void BringForwardIfUnfocused() const;
    ProgramRun* run_ = nullptr;
    HWND window_ = nullptr;
};

// The shell's folder browser: a dialog with a tree of folders.
class FolderBrowser {
public:
    FolderBrowser() = default;
    FolderBrowser(ProgramRun& run, HWND window) : page_(run, window) {}
    explicit operator bool() const { return static_cast<bool>(page_); }
    const Page& dialog() const { return page_; }
    // The title the program gave the browser, shown above the tree.
    std::string Title() const;
    HWND Tree() const;
    // The text of the selected folder in the tree.
    std::string SelectedText() const;
    // The texts of the children of a tree item (TVI_ROOT for the top level).
    std::vector<std::string> ChildTexts(HTREEITEM parent) const;
    // Selects the folder with this path (such as C:\Temp\x) in the tree,
    // opening the folders on the way as a person would.
    void Select(const std::string& folderPath) const;
    void Choose() const;  // OK
    void Cancel() const;

private:
    std::string ItemText(HTREEITEM item) const;
    std::vector<HTREEITEM> Children(HTREEITEM parent) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::function<bool(const std::string&)>& matches) const;
    Page page_;
};

// setup.exe and Unskein.exe of the build under test.
std::string SetupProgram();
std::string UnskeinProgram();

// Unskein's question before it removes anything.
extern const char kRemovalQuestion[];

// An installed Unskein.exe, started as Windows' list of programs starts it:
// from a folder other than its own.
class UnskeinRun : public ProgramRun {
public:
    explicit UnskeinRun(const std::string& program);
    // Answers the question with Yes.
    void Confirm() { ExpectMessageBox("Uninstall", kRemovalQuestion, IDYES); }
};
// Answers Unskein's question with Yes and expects the run, Unskein's own or
// that of a program that starts it, to end with 0.
void ExpectRemoved(ProgramRun& run);
// The same for the Unskein.exe at `program`.
void RemoveWithUnskein(const std::string& program);

// Wine's per-program settings for programs of this file name, as `options`
// ask; returns the key that RemoveProgramSettings removes afterwards.
std::string SetProgramSettings(const std::string& fileName, const RunOptions& options);
void RemoveProgramSettings(const std::string& keyPath);

// Starts setup.exe on a medium. With `windows98` or `dllsFromBeside` the
// program runs from the medium under a name of its own, for which Wine's
// per-program settings say so.
class SetupRun : public ProgramRun {
public:
    explicit SetupRun(const Medium& medium, RunOptions options = {});
    ~SetupRun();
    // Answers the message that Windows 95, 98 and ME get at start-up under
    // Wine, which has no Wininit.exe; nothing on Windows NT.
    void AnswerWininitMissing();

private:
    static std::string Prepare(const Medium& medium, const RunOptions& options);
    std::string settingsKey_;  // Wine's per-program settings, removed afterwards
    bool windows98_;
};

}  // namespace e2e
