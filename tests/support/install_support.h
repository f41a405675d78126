// Helpers for the Windows-side tests of the installation engine: a prompter
// that answers from a script and records what it was shown, the fixtures,
// and a fresh engine state for each test.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "setup/install/prompter.h"

namespace testing_support {

struct Prompt {
    enum Kind { kMessage, kLanguageConflict, kOverwrite };
    Kind kind = kMessage;
    MessageOwner owner = MessageOwner::kNone;
    std::string text;
    std::string caption;
    UINT style = 0;
};

// Message boxes with only an OK button are answered IDOK and need no
// scripted answer; every question and dialog takes the next one. A
// question nobody scripted fails the test and is answered so that loops
// end (No, Ignore, or the dialog's 0).
class ScriptedPrompter : public Prompter {
public:
    // The next answer: a button id (IDYES, IDRETRY, ...) or a dialog result;
    // `before` runs first, as the user would act before pressing it.
    ScriptedPrompter& Then(int answer, std::function<void()> before = {});

    int ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption, UINT style) override;
    ConflictAnswer AskLanguageConflict(const std::string& source, const std::string& target) override;
    ConflictAnswer AskOverwrite(const std::string& target) override;

    std::vector<Prompt> shown;
    std::string lastTarget;  // the destination the last conflict dialog named
    bool AllAnswersUsed() const { return answers_.empty(); }

private:
    int NextAnswer(int unscripted);
    std::deque<std::pair<int, std::function<void()>>> answers_;
};

// An OK-only message box as the engine shows it.
Prompt Message(const std::string& text, const std::string& caption);
// A question or prompt with its own style and owner.
Prompt Question(const std::string& text, const std::string& caption, UINT style,
                MessageOwner owner = MessageOwner::kNone);
Prompt LanguageConflictDialog();
Prompt OverwriteDialog();
// The disk prompt (owned by the background window) and its quit question.
Prompt DiskPrompt(int disk, const std::string& caption);
Prompt QuitQuestion();

// Texts the engine shows about a file, as a person reads them.
namespace shown {
extern const char kTempFile[];
extern const char kMismatch[];
extern const char kWriteProtected[];
extern const char kSharingViolation[];
extern const char kInUse[];
}  // namespace shown
bool operator==(const Prompt& a, const Prompt& b);
void PrintTo(const Prompt& prompt, std::ostream* out);

// The Windows path of a file built into the test build's fixtures folder.
std::string FixturePath(const std::string& name);
void CopyFixture(const std::string& name, const std::string& destination);

// The installation state and the model as setup starts in the current
// folder: no script, no records, the built-in variables.
void ResetEngineState();

// The lines of a log after "[FILES]", without their CR LF.
std::vector<std::string> LogRecords(const std::string& logPath);

std::string WindowsDirectory();
std::string SystemDirectory();
std::string ShortPathOf(const std::string& path);

// The file the system will move over `to` at the next start (a delayed
// move of Windows NT, in the Session Manager's list); empty when none.
std::string PendingRenameSource(const std::string& to);
// Whether the system will delete `path` at the next start (a delayed move
// to nowhere).
bool IsPendingDeletion(const std::string& path);
// Takes the move of `from` out of that list again, so that no later start
// of the prefix carries it out.
void ForgetPendingRename(const std::string& from);

// Runs `action` on a thread of its own, for acting on a modal window of
// this thread; Join waits for it.
class Helper {
public:
    explicit Helper(std::function<void()> action);
    ~Helper();
    void Join();

private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> action_;
    HANDLE thread_ = nullptr;
};

// Polls every 20 ms for up to 15 s.
bool WaitFor(const std::function<bool()>& condition);

}  // namespace testing_support
