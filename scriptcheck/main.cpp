// scriptcheck: reads a SetupScript.INI as setup reads it and reports, line by
// line, what setup would do differently from what its author evidently meant.
// It only reads: the script and the medium stay as they are.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scriptcheck/check.h"

namespace {

const char kUsage[] =
    "usage: scriptcheck [--medium FOLDER] SCRIPT\n"
    "       scriptcheck --tesselpack [--medium FOLDER] SCRIPT\n"
    "Checks an installation script. AddFile patterns are looked up in FOLDER, the folder that setup\n"
    "starts in (by default the script's own folder). With --tesselpack, FOLDER is the folder that\n"
    "tesselpack makes the medium from: a missing file is an error, and setup.exe and Unskein.exe,\n"
    "which tesselpack adds, need not be there. Exit status: 0 nothing found, 1 warnings only,\n"
    "2 errors, 3 the check could not run.\n";

int CannotCheck(const std::string& why)
{
    std::fprintf(stderr, "scriptcheck: %s\n", why.c_str());
    return kCannotRun;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string script, medium;
    MediumKind kind = MediumKind::kMedium;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kClean;
        }
        if (arg == "--tesselpack")
            kind = MediumKind::kTesselpackSource;
        else if (arg == "--medium" && i + 1 < argc)
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

    const FindingCounts found = PrintFindings(CheckScript(bytes, Medium(medium, kind)).diagnostics, script);
    if (found.errors + found.warnings > 0)
        std::fprintf(stderr, "scriptcheck: %d error%s, %d warning%s\n", found.errors, found.errors == 1 ? "" : "s",
                     found.warnings, found.warnings == 1 ? "" : "s");
    return found.Status();
}
