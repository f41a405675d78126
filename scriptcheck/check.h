// The script checker, as scriptcheck runs it and tesselpack uses it: a
// script read and carried out in imagination as setup would, with what
// that finds.
#pragma once

#include <string>
#include <vector>

#include "scriptcheck/command_check.h"
#include "scriptcheck/diagnostics.h"
#include "scriptcheck/medium.h"
#include "scriptcheck/syntax_check.h"
#include "setup/model/text/script_store.h"

struct CheckedScript {
    ScriptStore store;                  // the entries as setup reads them
    std::vector<EntryLayout> layouts;   // where each entry's parts stand in the text
    std::vector<AddFileCall> addFiles;  // the AddFile calls setup carries out
    Diagnostics diagnostics;
};

// Checks a script, given as its bytes, against the medium it starts from.
CheckedScript CheckScript(const std::string& bytes, const Medium& medium);

// How scriptcheck and tesselpack end.
enum ExitStatus { kClean = 0, kWarnings = 1, kErrors = 2, kCannotRun = 3 };

struct FindingCounts {
    int errors = 0;
    int warnings = 0;
    ExitStatus Status() const { return errors > 0 ? kErrors : warnings > 0 ? kWarnings : kClean; }
};

// Prints the findings of at least the severity `least` on the standard
// output, in script order, each as "SCRIPT:LINE:COLUMN: error: MESSAGE" (or
// "warning"), and counts all of them.
FindingCounts PrintFindings(const Diagnostics& diagnostics, const std::string& script,
                            Severity least = Severity::Warning);
