#include "setup/ui/program_prompter.h"

#include "setup/ui/conflict_dialogs.h"
#include "setup/ui/copy_page.h"
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
