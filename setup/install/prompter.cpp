#include "setup/install/prompter.h"

#include "setup/install/text/install_paths.h"

const char kQuitQuestion[] = "Are you really sure to quit setup? The application will be deleted if you click on Yes";
const char kQuitCaption[] = "Quit setup";

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
