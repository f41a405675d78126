// The installation engine's questions and messages as the program shows
// them: message boxes and the two conflict dialogs, each after the copy
// page has caught up with the file it is about.
#pragma once

#include "setup/install/prompter.h"

Prompter& ProgramPrompter();
