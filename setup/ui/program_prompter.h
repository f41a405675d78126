// The installation engine's questions and messages as the program shows
// them: message boxes and the two conflict dialogs.
#pragma once

#include "setup/install/prompter.h"

class ProgramPrompter : public Prompter {
public:
    // `beforeShowing` runs before each box or dialog, so that the copy page
    // can first catch up with the file it is about.
    explicit ProgramPrompter(void (*beforeShowing)()) : beforeShowing_(beforeShowing) {}

    int ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption, UINT style) override;
    ConflictAnswer AskLanguageConflict(const std::string& source, const std::string& target) override;
    ConflictAnswer AskOverwrite(const std::string& target) override;

private:
    void (*beforeShowing_)();
};
