#include <windows.h>

#include "common/find_files.h"
#include "setup/guard/process_guard.h"
#include "setup/install/folder_trees.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/text/upgrade.h"
#include "setup/install/upgrade.h"
#include "setup/script/startup.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/records.h"
#include "setup/model/text/script_store.h"
#include "setup/model/text/variables.h"
#include "setup/model/text/windows_versions.h"
#include "setup/ui/copy_page.h"
#include "setup/ui/page_framework.h"
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

// A page as the script showed it, for Back to open it again.
struct ShownPage {
    Command command;
    std::vector<std::string> args;  // expanded when the command ran
    PageMemory memory;
};

// The pages that Back can reach, the first one shown first. The copy page
// ends it: what was installed is not chosen again.
struct PageHistory {
    bool backButton = false;  // SetBackButton
    std::vector<ShownPage> pages;
};

INT_PTR ShowPage(const ShownPage& page)
{
    switch (page.command) {
    case Command::ShowWelcome: return ShowWelcomePage();
    case Command::ShowDest: return ShowDestinationPage();
    case Command::ShowSections: return ShowSectionsPage();
    case Command::ShowProgramGroup: return ShowProgramGroupPage();
    case Command::ShowCopy: return ShowCopyPage();
    case Command::ShowLicence: return ShowLicencePage(page.args[0]);
    case Command::ShowText: return ShowTextPage(page.args[0], page.args[1]);
    default: return 0;
    }
}

enum class Step { Next, EndScript, ForbiddenProcessRuns, FileUnreadable, WindowsUnsupported, OlderVersionDeclined };

// Shows the page of a page command, and the pages before it again as the
// user goes Back and Next, until Next leaves the newest page. The commands
// between the pages ran once, when the script reached them.
Step ShowPages(PageHistory& history, Command command, const std::vector<std::string>& args)
{
    history.pages.push_back({command, args, {}});
    size_t at = history.pages.size() - 1;
    for (;;) {
        ShownPage& shown = history.pages[at];
        gPage.back = history.backButton && at > 0 && shown.command != Command::ShowCopy;
        gPage.memory = history.backButton ? &shown.memory : nullptr;
        const INT_PTR result = ShowPage(shown);
        gPage.back = false;
        gPage.memory = nullptr;
        if (result == kPageBack) {
            --at;
        } else if (result == kPageUnreadable) {
            return Step::FileUnreadable;
        } else if (result != kPageNext) {
            PostQuitMessage(9);
            return Step::EndScript;
        } else if (++at == history.pages.size()) {
            break;
        }
    }
    if (command == Command::ShowCopy)
        history.pages.clear();
    return Step::Next;
}

// The version the system reports, which is the real one up to the newest
// Windows that the program's manifest names.
bool RunsOnRequiredWindows(const std::vector<std::string>& args)
{
    OSVERSIONINFOA running = {};
    running.dwOSVersionInfoSize = sizeof running;
    if (!GetVersionExA(&running))
        return true;
    const WindowsRequirement requirement = ReadWindowsRequirement(args[0], args[1]);
    const WindowsFamily family =
        running.dwPlatformId == VER_PLATFORM_WIN32_NT ? WindowsFamily::kNt : WindowsFamily::k9x;
    const WindowsVersion version{static_cast<int>(running.dwMajorVersion), static_cast<int>(running.dwMinorVersion)};
    if (IsSupported(requirement, family, version))
        return true;
    MessageBoxA(nullptr, UnsupportedWindowsText(requirement).c_str(), "Windows version", MB_ICONERROR);
    return false;
}

// Only a Yes goes on: No is the default, and a message box that fails
// returns 0.
bool UserAcceptsOlderVersion(const std::string& version)
{
    const std::string text =
        OlderVersionQuestion(gVariables.Get("APPNAME"), gVariables.Get("INSTALLEDVERSION"), version);
    return MessageBoxA(nullptr, text.c_str(), "Older version", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

// Carries out one command whose arguments are checked and expanded.
Step RunCommand(const CommandInfo& info, std::vector<std::string>& args, const std::string& programFilesBase,
                PageHistory& history)
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
    case Command::AddFolder:
        if (const std::optional<FoundTree> tree = FindFolderTree(args[0], args[3]))
            AppendFolderTree(gRecords, args, *tree);
        break;
    case Command::ShowMessage:  // "NOW": the recording command left it to us
        MessageBoxA(nullptr, args[0].c_str(), args[1].c_str(), MB_OK);
        break;
    case Command::ShowWelcome:
    case Command::ShowDest:
    case Command::ShowSections:
    case Command::ShowCopy:
    case Command::ShowProgramGroup:
    case Command::ShowLicence:
    case Command::ShowText:
        return ShowPages(history, info.command, args);
    case Command::SetBackButton:
        history.backButton = ScriptFlag(args[0]) != 0;
        break;
    case Command::RequireWindows:
        if (!RunsOnRequiredWindows(args))
            return Step::WindowsUnsupported;
        break;
    case Command::ShowFinish:  // the last page: nothing after it runs
        if (ShowFinishPage() != kPageNext)
            PostQuitMessage(9);
        return Step::EndScript;
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
    PageHistory history;
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
        const Step step = RunCommand(*info, args, programFilesBase, history);
        if (step == Step::ForbiddenProcessRuns)
            return kExitForbiddenProcess;
        if (step == Step::FileUnreadable)
            return kExitFileUnreadable;
        if (step == Step::WindowsUnsupported)
            return kExitWindowsUnsupported;
        if (step == Step::OlderVersionDeclined)
            return kExitOlderVersionDeclined;
        if (step == Step::EndScript)
            break;
    }
    return std::nullopt;
}
