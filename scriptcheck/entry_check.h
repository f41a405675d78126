// The checks of AddRegistry, AddIniValue and RegisterLibrary.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scriptcheck/diagnostics.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/variables.h"

// Whether argument `number` (from 1) of the command is expanded when the
// copy page installs it.
bool IsExpandedAtCopy(Command command, int number);

// Reports an entry's wrong words, a DWORD that is no number, a section that
// no CreateSection declares, a key that Unskein does not delete whole with
// "KEY", and a record too long for a line of the uninstall log. `variables`
// stand for those the copy page expands with; `at` gives an argument's place.
void CheckEntryCall(const CommandInfo& info, const std::vector<std::string>& args,
                    const std::vector<std::string>& sections, VariableStore& variables,
                    const std::function<Place(int)>& at, Diagnostics& d);
