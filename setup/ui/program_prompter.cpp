#include "setup/ui/program_prompter.h"

#include "setup/ui/conflict_dialogs.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/splash_and_background.h"

namespace {

HWND OwnerWindow(MessageOwner owner)
{
    switch (owner) {
    case MessageOwner::kBackground: return gApp.background;
    case MessageOwner::kPage: return gPage.window;
    default: return nullptr;
    }
}

}  // namespace

int ProgramPrompter::ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption, UINT style)
{
    beforeShowing_();
    return MessageBoxA(OwnerWindow(owner), text.c_str(), caption.c_str(), style);
}

ConflictAnswer ProgramPrompter::AskLanguageConflict(const std::string& source, const std::string& target)
{
    beforeShowing_();
    return ShowLanguageConflictDialog(source, target);
}

ConflictAnswer ProgramPrompter::AskOverwrite(const std::string& target)
{
    beforeShowing_();
    return ShowOverwriteDialog(target);
}
