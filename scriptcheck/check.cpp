#include "scriptcheck/check.h"

#include <cstdio>

CheckedScript CheckScript(const std::string& bytes, const Medium& medium)
{
    CheckedScript checked;
    checked.layouts = CheckSyntax(ToScriptText(bytes), checked.store, checked.diagnostics);
    checked.addFiles = CheckCommands(checked.store, checked.layouts, medium, checked.diagnostics);
    return checked;
}

FindingCounts PrintFindings(const Diagnostics& diagnostics, const std::string& script, Severity least)
{
    FindingCounts counts;
    for (const Diagnostic& d : diagnostics.Sorted()) {
        const bool isError = d.severity == Severity::Error;
        (isError ? counts.errors : counts.warnings) += 1;
        if (d.severity >= least)
            std::printf("%s:%d:%d: %s: %s\n", script.c_str(), d.line, d.column, isError ? "error" : "warning",
                        d.message.c_str());
    }
    return counts;
}
