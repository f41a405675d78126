#include <windows.h>

#include "common/find_files.h"
#include "setup/guard/process_guard.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/text/upgrade.h"
#include "setup/install/upgrade.h"
#include "setup/script/startup.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/records.h"
#include "setup/model/text/script_store.h"
#include "setup/model/text/variables.h"
#include "setup/ui/copy_page.h"
#include "setup/ui/pages.h"
#include "setup/ui/splash_and_background.h"

namespace {

const char kSyntaxErrorText[] =
    "Syntax error in 'SetupScript.INI': Function is not defined (possibly wrong parameter count?)\n"
    "Setup cannot be continued.";

// The matches of an AddFile source pattern, in the file system's order; a
// file that a starter left in its package matches its own name, which is
// how tesselpack writes every source of such a medium.
std::vector<FoundFile> FindSourceFiles(const std::string& pattern)
{
    std::vector<FoundFile> matches;
    if (const PackagedFile* packaged = FindPackagedFile(pattern))
        return {{packaged->Name(), false}};
    ForEachMatch(pattern, [&](const WIN32_FIND_DATAA& found) {
        matches.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    });
    return matches;
}

INT_PTR ShowPage(Command command)
{
    switch (command) {
    case Command::ShowWelcome: return ShowWelcomePage();
    case Command::ShowDest: return ShowDestinationPage();
    case Command::ShowSections: return ShowSectionsPage();
    case Command::ShowProgramGroup: return ShowProgramGroupPage();
    case Command::ShowCopy: return ShowCopyPage();
    default: return 0;
    }
}

enum class Step { Next, EndScript, ForbiddenProcessRuns, OlderVersionDeclined };

// Only a Yes goes on: No is the default, and a message box that fails
// returns 0.
bool UserAcceptsOlderVersion(const std::string& version)
{
    const std::string text =
        OlderVersionQuestion(gVariables.Get("APPNAME"), gVariables.Get("INSTALLEDVERSION"), version);
    return MessageBoxA(nullptr, text.c_str(), "Older version", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

// Carries out one command whose arguments are checked and expanded.
Step RunCommand(const CommandInfo& info, std::vector<std::string>& args, const std::string& programFilesBase)
{
    if (RunRecordingCommand(info, args, programFilesBase))
        return Step::Next;
    switch (info.command) {
    case Command::SetBackground:
        SetBackgroundColors(gRecords.display, args);
        RedrawBackground();
        break;
    case Command::AddFile:
        if (args[0].size() > kMaxSourcePattern) {
            const std::string text = "The source pattern " + args[0] + " is longer than " +
                                     std::to_string(kMaxSourcePattern) +
                                     " characters, setup cannot find its files. They will not be installed.";
            MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
            break;
        }
        AppendFileEntries(gRecords, args, FindSourceFiles(args[0]));
        break;
    case Command::ShowMessage:  // "NOW": the recording command left it to us
        MessageBoxA(nullptr, args[0].c_str(), args[1].c_str(), MB_OK);
        break;
    case Command::ShowWelcome:
    case Command::ShowDest:
    case Command::ShowSections:
    case Command::ShowCopy:
    case Command::ShowProgramGroup:
        if (ShowPage(info.command) != 0) {
            PostQuitMessage(9);
            return Step::EndScript;
        }
        break;
    case Command::SetAppVersion:
        if (FindInstalledVersion(args[0]) && !UserAcceptsOlderVersion(args[0]))
            return Step::OlderVersionDeclined;
        break;
    case Command::ForbidProcess:  // the check lower-cases the name it shows
        if (IsProcessRunning(args[0])) {
            const std::string text = "This setup demands that " + args[0] +
                                     " does not run. Please close it and try again.";
            MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
            return Step::ForbiddenProcessRuns;
        }
        break;
    default:
        break;
    }
    return Step::Next;
}

}  // namespace

std::optional<int> RunScript(const std::string& programFilesBase)
{
    for (const ScriptEntry& entry : gScript.Entries()) {
        const CommandInfo* info = FindCommand(entry.name);
        if (!info)
            continue;
        std::vector<std::string> args = entry.arguments;
        if (static_cast<int>(args.size()) != info->argumentCount) {
            MessageBoxA(nullptr, kSyntaxErrorText, "Fatal error", MB_ICONERROR);
            return kExitSyntaxError;
        }
        ExpandCommandArguments(*info, args);
        const Step step = RunCommand(*info, args, programFilesBase);
        if (step == Step::ForbiddenProcessRuns)
            return kExitForbiddenProcess;
        if (step == Step::OlderVersionDeclined)
            return kExitOlderVersionDeclined;
        if (step == Step::EndScript)
            break;
    }
    return std::nullopt;
}
