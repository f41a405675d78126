#include "tests/support/install_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>

#include "common/system_paths.h"
#include "setup/install/install_state.h"
#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "tests/support/support.h"

namespace testing_support {

ScriptedPrompter& ScriptedPrompter::Then(int answer, std::function<void()> before)
{
    answers_.emplace_back(answer, std::move(before));
    return *this;
}

int ScriptedPrompter::NextAnswer(int unscripted)
{
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted prompt: " << ::testing::PrintToString(shown.back());
        return unscripted;
    }
    auto [answer, before] = std::move(answers_.front());
    answers_.pop_front();
    if (before)
        before();
    return answer;
}

int ScriptedPrompter::ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption,
                                  UINT style)
{
    shown.push_back(Prompt{Prompt::kMessage, owner, text, caption, style});
    const UINT buttons = style & MB_TYPEMASK;
    if (buttons == MB_OK)
        return IDOK;
    return NextAnswer(buttons == MB_ABORTRETRYIGNORE ? IDIGNORE : IDNO);
}

ConflictAnswer ScriptedPrompter::AskLanguageConflict(const std::string&, const std::string& target)
{
    lastTarget = target;
    shown.push_back(LanguageConflictDialog());
    return static_cast<ConflictAnswer>(NextAnswer(0));
}

ConflictAnswer ScriptedPrompter::AskOverwrite(const std::string& target)
{
    lastTarget = target;
    shown.push_back(OverwriteDialog());
    return static_cast<ConflictAnswer>(NextAnswer(0));
}

Prompt Message(const std::string& text, const std::string& caption)
{
    return Prompt{Prompt::kMessage, MessageOwner::kNone, text, caption, MB_OK};
}

Prompt Question(const std::string& text, const std::string& caption, UINT style, MessageOwner owner)
{
    return Prompt{Prompt::kMessage, owner, text, caption, style};
}

Prompt LanguageConflictDialog()
{
    return Prompt{Prompt::kLanguageConflict, MessageOwner::kBackground, "", "", 0};
}

Prompt OverwriteDialog()
{
    return Prompt{Prompt::kOverwrite, MessageOwner::kPage, "", "", 0};
}

Prompt DiskPrompt(int disk, const std::string& caption)
{
    return Question("Please insert disk " + std::to_string(disk) +
                        " in order to continue setup. If you inserted correct disk and this message appears "
                        "again, setup script may be corrupt.",
                    caption, MB_ABORTRETRYIGNORE, MessageOwner::kBackground);
}

Prompt QuitQuestion()
{
    return Question("Are you really sure to quit setup? The application will be deleted if you click on Yes",
                    "Quit setup", MB_YESNO, MessageOwner::kBackground);
}

namespace shown {
const char kTempFile[] = "Temporary file, file cannot be copied.";
const char kMismatch[] =
    "The file to install and the old file differ in one or more attributes. If you want to, you can install it "
    "though. Do you want to install the file (not recommended)?";
const char kWriteProtected[] =
    "File cannot be written to, because it is write protected. Do you want to remove write protection and "
    "overwrite the file?";
const char kSharingViolation[] = "Sharing violation occured, setup cannot install the file.";
const char kInUse[] = "File is in use and setup is not able to overwrite the file.";
}  // namespace shown

bool operator==(const Prompt& a, const Prompt& b)
{
    return a.kind == b.kind && a.owner == b.owner && a.text == b.text && a.caption == b.caption &&
           a.style == b.style;
}

void PrintTo(const Prompt& prompt, std::ostream* out)
{
    static const char* const kKinds[] = {"message", "dialog 115", "dialog 116"};
    static const char* const kOwners[] = {"no owner", "background", "page"};
    *out << kKinds[prompt.kind] << " (" << kOwners[static_cast<int>(prompt.owner)] << ", style 0x" << std::hex
         << prompt.style << std::dec << ") [" << prompt.caption << "] \"" << prompt.text << "\"";
}

std::string FixturePath(const std::string& name)
{
    return Env("TESSEL_BIN") + "\\fixtures\\" + name;
}

void CopyFixture(const std::string& name, const std::string& destination)
{
    ASSERT_TRUE(CopyFileA(FixturePath(name).c_str(), destination.c_str(), FALSE)) << name << " to " << destination;
    SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// ProgramFilesDir and "\\", as setup reads it at start-up.
std::string ProgramFilesBase()
{
    char folder[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size);
        RegCloseKey(key);
    }
    return std::string(folder) + "\\";
}

}  // namespace

void ResetEngineState()
{
    gInstall = InstallationState{};
    StartModel({::CurrentDirectory().path, ::WindowsDirectory().path, ::SystemDirectory().path, ProgramFilesBase(), {}, {}});
}

std::vector<std::string> LogRecords(const std::string& logPath)
{
    const std::string bytes = ReadFile(logPath);
    const std::size_t files = bytes.find("[FILES]\r\n");
    std::vector<std::string> lines;
    if (files == std::string::npos)
        return lines;
    for (std::size_t start = files + 9; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string WindowsDirectory()
{
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    return windows;
}

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

std::vector<std::string> PendingRenames()
{
    std::vector<std::string> strings;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return strings;
    DWORD size = 0;
    if (RegQueryValueExA(key, kPendingRenames, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size) {
        std::vector<char> data(size + 2, '\0');
        RegQueryValueExA(key, kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
        // A deletion's second string is empty: only the size tells the list's end.
        for (std::size_t at = 0; at + 1 < size;) {
            strings.emplace_back(&data[at]);
            at += strings.back().size() + 1;
        }
    }
    RegCloseKey(key);
    return strings;
}

}  // namespace

void ForgetPendingRename(const std::string& from)
{
    std::vector<std::string> strings = PendingRenames();
    for (std::size_t i = 0; i + 1 < strings.size();)
        if (strings[i] == "\\??\\" + from)
            strings.erase(strings.begin() + i, strings.begin() + i + 2);
        else
            i += 2;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    std::string data;
    for (const std::string& text : strings)
        data += text + '\0';
    if (data.empty())
        RegDeleteValueA(key, kPendingRenames);
    else
        RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
}

bool IsPendingDeletion(const std::string& path)
{
    const std::vector<std::string> strings = PendingRenames();
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2)
        if (lstrcmpiA(strings[i].c_str(), ("\\??\\" + path).c_str()) == 0 && strings[i + 1].empty())
            return true;
    return false;
}

std::string PendingRenameSource(const std::string& to)
{
    const std::vector<std::string> strings = PendingRenames();
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2)
        if (strings[i + 1] == "!\\??\\" + to && strings[i].rfind("\\??\\", 0) == 0)
            return strings[i].substr(4);
    return "";
}

std::string ShortPathOf(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

std::string SystemDirectory()
{
    char system[MAX_PATH + 1] = {};
    GetSystemDirectoryA(system, sizeof system);
    return system;
}

Helper::Helper(std::function<void()> action) : action_(std::move(action))
{
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

Helper::~Helper()
{
    Join();
}

void Helper::Join()
{
    if (!thread_)
        return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI Helper::Run(void* self)
{
    static_cast<Helper*>(self)->action_();
    return 0;
}

bool WaitFor(const std::function<bool()>& condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 15000)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace testing_support
