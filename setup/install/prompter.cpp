#include "setup/install/prompter.h"

#include "setup/install/section_install.h"
#include "setup/install/text/install_paths.h"
#include "setup/ui/conflict_dialogs.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/windows.h"

namespace {

class MessageBoxPrompter : public Prompter {
public:
    int ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption, UINT style) override
    {
        ShowPendingFileProgress();
        return MessageBoxA(OwnerWindow(owner), text.c_str(), caption.c_str(), style);
    }

    ConflictAnswer AskLanguageConflict() override
    {
        ShowPendingFileProgress();
        return ShowLanguageConflictDialog();
    }
    ConflictAnswer AskOverwrite() override
    {
        ShowPendingFileProgress();
        return ShowOverwriteDialog();
    }

private:
    static HWND OwnerWindow(MessageOwner owner)
    {
        switch (owner) {
        case MessageOwner::kBackground: return gApp.background;
        case MessageOwner::kPage: return gPage.window;
        default: return nullptr;
        }
    }
};

}  // namespace

Prompter& ProgramPrompter()
{
    static MessageBoxPrompter prompter;
    return prompter;
}

void Inform(Prompter& prompter, const std::string& text, const std::string& caption)
{
    prompter.ShowMessage(MessageOwner::kNone, text, caption, MB_OK);
}

DiskAnswer AskForDisk(Prompter& prompter, int16_t disk, const std::string& caption)
{
    // A box that ends with 0 was never seen (a pending quit ends every modal
    // loop at once, or the system could not show it): asking again would
    // spin without a window, so only a real No keeps setup going.
    switch (prompter.ShowMessage(MessageOwner::kBackground, DiskPromptText(disk), caption, MB_ABORTRETRYIGNORE)) {
    case IDRETRY:
        return DiskAnswer::kRetry;
    case IDIGNORE:
        return DiskAnswer::kIgnore;
    case IDABORT:
        break;
    default:
        return DiskAnswer::kQuit;
    }
    const int quit = prompter.ShowMessage(MessageOwner::kBackground, kQuitQuestion, kQuitCaption, MB_YESNO);
    return quit == IDNO ? DiskAnswer::kQuitDeclined : DiskAnswer::kQuit;
}
