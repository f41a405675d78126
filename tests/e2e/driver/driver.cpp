#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>

namespace e2e {

using testing_support::Env;

Medium::Medium() : dir_("medium") {}

void Medium::WriteScript(const std::string& text) const
{
    testing_support::WriteFile(dir_ / "SetupScript.INI", text);
}

void Medium::AddFile(const std::string& relativePath, const std::string& bytes) const
{
    for (size_t slash = relativePath.find('\\'); slash != std::string::npos;
         slash = relativePath.find('\\', slash + 1))
        CreateDirectoryA((dir_ / relativePath.substr(0, slash)).c_str(), nullptr);
    testing_support::WriteFile(dir_ / relativePath, bytes);
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK NoteOwnControl(HWND child, LPARAM context)
{
    const int id = GetDlgCtrlID(child);
    if (id >= 1000 && id < 2000 && id != 1088)
        *reinterpret_cast<bool*>(context) = true;
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::string WindowText(HWND window)
{
    const int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(strlen(text.c_str()));
    return text;
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsMessageBox(HWND window)
{
    if (ClassName(window) != "#32770" || !IsWindowVisible(window) || !GetDlgItem(window, 0xFFFF))
        return false;
    // Setup's own templates use ids from 1000 up; a message box only its
    // icon (1088) among them.
    bool ownControls = false;
    EnumChildWindows(window, NoteOwnControl, reinterpret_cast<LPARAM>(&ownControls));
    return !ownControls;
}

ProgramRun::ProgramRun(const std::string& program, const std::string& workingDirectory,
                       const std::string& arguments)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.c_str(), &startup, &process_)) {
        ADD_FAILURE() << "cannot start " << program << " (error " << GetLastError() << ")";
    }
}

ProgramRun::ProgramRun(const std::wstring& program, const std::wstring& workingDirectory)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.c_str(), &startup, &process_)) {
        ADD_FAILURE() << "cannot start " << testing_support::Narrowed(program) << " (error " << GetLastError() << ")";
    }
}

ProgramRun::~ProgramRun()
{
    if (!process_.hProcess)
        return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool ProgramRun::Running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> ProgramRun::Windows() const
{
    std::vector<DWORD> family{processId()};
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            if (std::find(family.begin(), family.end(), entry.th32ParentProcessID) != family.end())
                family.push_back(entry.th32ProcessID);
        CloseHandle(snapshot);
    }
    std::vector<HWND> windows;
    for (DWORD member : family)
        for (HWND window : WindowsOf(member))
            windows.push_back(window);
    return windows;
}

MessageBoxSeen ProgramRun::NextMessageBox(DWORD timeoutMs)
{
    MessageBoxSeen seen;
    const bool found = WaitUntil(
        [&] {
            for (HWND window : Windows()) {
                if (std::find(answered_.begin(), answered_.end(), window) != answered_.end())
                    continue;
                if (IsMessageBox(window)) {
                    seen.window = window;
                    return true;
                }
            }
            return !Running();
        },
        timeoutMs);
    if (!seen.window) {
        ADD_FAILURE() << (found ? "the program ended without the expected message box"
                                : "no message box appeared");
        return seen;
    }
    seen.caption = WindowText(seen.window);
    seen.text = WindowText(GetDlgItem(seen.window, 0xFFFF));
    return seen;
}

void ProgramRun::ExpectMessageBox(const std::string& caption, const std::string& text, int answer)
{
    const MessageBoxSeen seen = NextMessageBox();
    if (!seen.window)
        return;
    EXPECT_EQ(seen.caption, caption);
    EXPECT_EQ(seen.text, text);
    Press(seen.window, answer);
}

void ProgramRun::Press(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    ASSERT_TRUE(button) << "no button " << buttonId << " in \"" << WindowText(dialog) << "\"";
    answered_.push_back(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void ProgramRun::AnswerQuitQuestion(int answer)
{
    ExpectMessageBox("Quit setup",
                     "Are you really sure to quit setup? The application will be deleted if you click on Yes", answer);
}

HWND ProgramRun::WaitForDialogWith(int controlId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Windows())
                if (IsWindowVisible(window) && ClassName(window) == "#32770" && GetDlgItem(window, controlId)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

HWND ProgramRun::WaitForWindowOfClass(const std::string& className, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Windows())
                if (IsWindowVisible(window) && ClassName(window) == className) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

int ProgramRun::WaitForExit(DWORD timeoutMs)
{
    // A page dialog being built or torn down can pass for a message box for a
    // moment; only a box still there on the next look is one.
    std::vector<HWND> seenBefore;
    const bool ended = WaitUntil(
        [&] {
            if (!Running())
                return true;
            std::vector<HWND> seen;
            for (HWND window : Windows())
                if (IsMessageBox(window) &&
                    std::find(answered_.begin(), answered_.end(), window) == answered_.end())
                    seen.push_back(window);
            for (HWND window : seen)
                if (std::find(seenBefore.begin(), seenBefore.end(), window) != seenBefore.end())
                    return true;
            seenBefore = seen;
            return false;
        },
        timeoutMs);
    if (Running()) {
        std::string open;
        for (HWND window : Windows())
            if (IsMessageBox(window))
                open += " [" + WindowText(window) + ": " + WindowText(GetDlgItem(window, 0xFFFF)) + "]";
        ADD_FAILURE() << (ended ? "unexpected message box:" + open : std::string("the program did not end"));
        return 1000;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

std::string SetupProgram()
{
    return Env("TESSEL_BIN") + "\\setup.exe";
}

std::string UnskeinProgram()
{
    return Env("TESSEL_BIN") + "\\Unskein.exe";
}

const char kRemovalQuestion[] = "Are you really sure that you want to remove this program?";

UnskeinRun::UnskeinRun(const std::string& program) : ProgramRun(program, Env("TESSEL_BIN")) {}

void ExpectRemoved(ProgramRun& run)
{
    run.ExpectMessageBox("Uninstall", kRemovalQuestion, IDYES);
    EXPECT_EQ(run.WaitForExit(), 0);
}

void RemoveWithUnskein(const std::string& program)
{
    UnskeinRun run(program);
    ExpectRemoved(run);
}

namespace {

std::string lastSettingsKey;

void SetString(const std::string& keyPath, const std::string& name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace

std::string SetProgramSettings(const std::string& fileName, const RunOptions& options)
{
    const std::string keyPath = "Software\\Wine\\AppDefaults\\" + fileName;
    if (options.windows98)
        SetString(keyPath, "Version", "win98");
    for (const std::string& dll : options.dllsFromBeside)
        SetString(keyPath + "\\DllOverrides", dll, "native,builtin");
    return keyPath;
}

void RemoveProgramSettings(const std::string& keyPath)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, (keyPath + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
}

std::string SetupRun::Prepare(const Medium& medium, const RunOptions& options)
{
    lastSettingsKey.clear();
    if (!options.windows98 && options.dllsFromBeside.empty())
        return SetupProgram();
    // Wine reads its per-program settings by the program's file name.
    static unsigned counter = 0;
    const std::string name =
        "setup-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".exe";
    const std::string copy = medium / name;
    CopyFileA(SetupProgram().c_str(), copy.c_str(), FALSE);
    lastSettingsKey = SetProgramSettings(name, options);
    return copy;
}

SetupRun::SetupRun(const Medium& medium, RunOptions options)
    : ProgramRun(Prepare(medium, options), medium.path()), settingsKey_(lastSettingsKey),
      windows98_(options.windows98)
{
}

void SetupRun::AnswerWininitMissing()
{
    if (windows98_)
        ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!", IDOK);
}

SetupRun::~SetupRun()
{
    if (!settingsKey_.empty())
        RemoveProgramSettings(settingsKey_);
}

}  // namespace e2e
