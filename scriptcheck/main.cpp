// scriptcheck: reads a SetupScript.INI as setup reads it and reports, line by
// line, what setup would do differently from what its author evidently meant.
// It only reads: the script and the medium stay as they are.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scriptcheck/command_check.h"
#include "scriptcheck/syntax_check.h"

namespace {

enum ExitStatus { kClean = 0, kWarnings = 1, kErrors = 2, kCannotCheck = 3 };

const char kUsage[] =
    "usage: scriptcheck [--medium FOLDER] SCRIPT\n"
    "Checks an installation script. AddFile patterns are looked up in FOLDER, the folder that setup\n"
    "starts in (by default the script's own folder). Exit status: 0 nothing found, 1 warnings only,\n"
    "2 errors, 3 the check could not run.\n";

int CannotCheck(const std::string& why)
{
    std::fprintf(stderr, "scriptcheck: %s\n", why.c_str());
    return kCannotCheck;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string script, medium;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kClean;
        }
        if (arg == "--medium" && i + 1 < argc)
            medium = argv[++i];
        else if (arg.rfind("--medium=", 0) == 0)
            medium = arg.substr(9);
        else if (script.empty() && !arg.empty() && arg[0] != '-')
            script = arg;
        else
            return CannotCheck("unexpected argument '" + arg + "'\n" + kUsage);
    }
    if (script.empty())
        return CannotCheck(std::string("no script given\n") + kUsage);
    if (medium.empty()) {
        medium = std::filesystem::path(script).parent_path().string();
        if (medium.empty())
            medium = ".";
    }
    std::error_code error;
    if (!std::filesystem::is_directory(medium, error))
        return CannotCheck("the medium folder '" + medium + "' does not exist");

    std::ifstream file(script, std::ios::binary);
    if (!file)
        return CannotCheck("cannot open the script '" + script + "'");
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    Diagnostics diagnostics;
    ScriptStore store;
    const std::vector<EntryLayout> layouts = CheckSyntax(ToScriptText(bytes), store, diagnostics);
    CheckCommands(store, layouts, Medium(medium), diagnostics);

    int errors = 0, warnings = 0;
    for (const Diagnostic& d : diagnostics.Sorted()) {
        const bool isError = d.severity == Severity::Error;
        (isError ? errors : warnings) += 1;
        std::printf("%s:%d:%d: %s: %s\n", script.c_str(), d.line, d.column, isError ? "error" : "warning",
                    d.message.c_str());
    }
    if (errors + warnings > 0)
        std::fprintf(stderr, "scriptcheck: %d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s", warnings,
                     warnings == 1 ? "" : "s");
    return errors > 0 ? kErrors : warnings > 0 ? kWarnings : kClean;
}
