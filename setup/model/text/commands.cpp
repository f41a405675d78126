#include "setup/model/text/commands.h"

#include <algorithm>
#include <cstring>

#include "setup/model/text/folder_names.h"

CommandInfo::CommandInfo(const char* name, Command command, const char* kinds)
    : name(name), command(command), argumentCount(static_cast<int>(std::strlen(kinds))), kinds_(kinds)
{
}

const std::vector<CommandInfo>& CommandTable()
{
    static const std::vector<CommandInfo> table = {
        {"SetAppName", Command::SetAppName, "x"},
        {"SetBackground", Command::SetBackground, "nnnnnn"},
        {"SetRedrawWait", Command::SetRedrawWait, "n"},
        {"SetDeveloperName", Command::SetDeveloperName, "x"},
        {"SetVariable", Command::SetVariable, "xx"},
        {"SetWelcomeString", Command::SetWelcomeString, "xx"},
        {"SetWelcomeString2", Command::SetWelcomeString2, "x"},
        {"SetCaption", Command::SetCaption, "x"},
        {"SetCaptionColor", Command::SetCaptionColor, "nnnnnn"},
        {"SetCaptionSize", Command::SetCaptionSize, "n"},
        {"SetCaptionPos", Command::SetCaptionPos, "nnnn"},
        {"CreateSection", Command::CreateSection, "tnnt"},
        {"AddFile", Command::AddFile, "xttnnnnnnt"},
        {"ShowMessage", Command::ShowMessage, "xxtt"},
        {"AddWindow", Command::AddWindow, "tttxnnnnn"},
        {"ShowWelcome", Command::ShowWelcome, ""},
        {"ShowDest", Command::ShowDest, ""},
        {"ShowSections", Command::ShowSections, ""},
        {"ShowCopy", Command::ShowCopy, ""},
        {"ShowProgramGroup", Command::ShowProgramGroup, ""},
        // The fifth is a number only where the fourth is "VALUE".
        {"SetNextDynamicState", Command::SetNextDynamicState, "ttttt"},
        {"CheckButton", Command::CheckButton, "t"},
        {"ForbidProcess", Command::ForbidProcess, "t"},

        {"AddRegistry", Command::AddRegistry, "ttttttt"},
        {"AddIniValue", Command::AddIniValue, "tttttt"},
        {"RegisterLibrary", Command::RegisterLibrary, "tt"},

        {"AddShortcut", Command::AddShortcut, "tttttt"},  // name to icon expanded at the copy page
        {"SetSectionSelected", Command::SetSectionSelected, "tn"},
        {"ShowFinish", Command::ShowFinish, ""},
        {"AddFinishAction", Command::AddFinishAction, "tttxn"},  // target and arguments at the finish page

        {"SetBackButton", Command::SetBackButton, "n"},
        {"ShowLicence", Command::ShowLicence, "x"},
        {"ShowText", Command::ShowText, "xx"},
        {"RequireWindows", Command::RequireWindows, "tt"},

        {"SetAppVersion", Command::SetAppVersion, "x"},
        {"DeleteOnInstall", Command::DeleteOnInstall, "t"},

        {"SetCleanUninstall", Command::SetCleanUninstall, "n"},
        {"DeleteOnUninstall", Command::DeleteOnUninstall, "tn"},
        {"AddFolder", Command::AddFolder, "xttt"},

        {"SetInstall64", Command::SetInstall64, "n"},
        {"SetSectionPlatform", Command::SetSectionPlatform, "tt"},
    };
    return table;
}

const CommandInfo* FindCommand(const std::string& name)
{
    for (const CommandInfo& info : CommandTable())
        if (name == info.name)
            return &info;
    return nullptr;
}

const char* PageName(Command command)
{
    switch (command) {
    case Command::ShowWelcome: return "DIALOG_WELCOME";
    case Command::ShowDest: return "DIALOG_DEST";
    case Command::ShowSections: return "DIALOG_SECTIONS";
    case Command::ShowProgramGroup: return "DIALOG_PROGRAMGROUP";
    case Command::ShowCopy: return "DIALOG_COPY";
    case Command::ShowFinish: return "DIALOG_FINISH";
    case Command::ShowLicence: return "DIALOG_LICENCE";
    case Command::ShowText: return "DIALOG_TEXT";
    default: return nullptr;
    }
}

void ExpandCommandArguments(const CommandInfo& info, std::vector<std::string>& args, VariableStore& variables)
{
    for (size_t i = 0; i < args.size() && static_cast<int>(i) < info.argumentCount; ++i)
        if (info.Kind(static_cast<int>(i)) == ArgumentKind::kExpanded)
            ExpandVariables(variables, args[i]);
}

namespace {

// Moves DP to the other program files base when it is still what setup
// made it (the base itself, or SetAppName's folder in it), so that
// SetInstall64 and SetAppName may come in either order; a DP the script
// chose stays.
void RebaseInstallFolder(VariableStore& variables, const std::string& from, const std::string& to)
{
    const std::string dp = variables.Get("DP");
    if (dp == from)
        variables.SetOutside("DP", to);
    else if (dp == from + FolderNameFor(variables.Get("APPNAME")) + "\\")
        variables.Set("DP", to + FolderNameFor(variables.Get("APPNAME")) + "\\");
}

}  // namespace

bool RunRecordingCommand(const CommandInfo& info, const std::vector<std::string>& args,
                         const std::string& programFilesBase, VariableStore& variables, InstallationRecords& records,
                         const MachineFacts& machine)
{
    switch (info.command) {
    case Command::SetAppName:
        variables.Set("APPNAME", args[0]);
        variables.Set("PROGRAMGROUP", FolderNameFor(args[0]));
        variables.Set("DP", ProgramFilesBaseFor(records, machine, programFilesBase) + FolderNameFor(args[0]) + "\\");
        return true;
    case Command::SetInstall64: {
        const std::string before = ProgramFilesBaseFor(records, machine, programFilesBase);
        records.install64 = ScriptFlag(args[0]) != 0;
        RebaseInstallFolder(variables, before, ProgramFilesBaseFor(records, machine, programFilesBase));
        return true;
    }
    case Command::SetSectionPlatform:
        BindSectionToPlatform(records, args[0], args[1], machine);
        return true;
    case Command::SetRedrawWait:
        records.display.redrawWait = std::clamp(ScriptNumber(args[0]), 0, kMaxRedrawWait);
        return true;
    case Command::SetDeveloperName:
        variables.Set("DEVELOPERNAME", args[0]);
        return true;
    case Command::SetVariable:
        variables.Set(args[0], args[1]);
        return true;
    case Command::SetWelcomeString:
        variables.Set("WELCOMESTRING_CAP", args[1]);
        variables.Set("WELCOMESTRING", args[0]);
        return true;
    case Command::SetWelcomeString2:
        variables.Set("WELCOMESTRING2", args[0]);
        return true;
    case Command::SetCaption:
        variables.Set("CAPTION", args[0]);
        return true;
    case Command::SetCaptionColor:
        SetCaptionColors(records.display, args);
        return true;
    case Command::SetCaptionSize:
        records.display.captionSize = ScriptNumber(args[0]);
        return true;
    case Command::SetCaptionPos:
        SetCaptionPositions(records.display, args);
        return true;
    case Command::CreateSection:
        AppendSection(records, args);
        return true;
    case Command::AddWindow:
        AppendCustomWindow(records, args);
        return true;
    case Command::AddRegistry:
        records.registryEntries.push_back({args[0], args[1], args[2], args[3], args[4], args[5], args[6]});
        return true;
    case Command::AddIniValue:
        records.iniEntries.push_back({args[0], args[1], args[2], args[3], args[4], args[5]});
        return true;
    case Command::RegisterLibrary:
        records.libraries.push_back({args[0], args[1]});
        return true;
    case Command::SetNextDynamicState:
        AppendAction(records, "SetNextDynamicState", args);
        return true;
    case Command::CheckButton:
        AppendAction(records, "CheckButton", args);
        return true;
    case Command::SetCleanUninstall:
        records.cleanUninstall = ScriptFlag(args[0]) != 0;
        return true;
    case Command::DeleteOnUninstall:
        records.uninstallDeletions.push_back({args[0], ScriptFlag(args[1]) != 0});
        return true;
    case Command::AddShortcut:
        AppendShortcut(records, args);
        return true;
    case Command::SetSectionSelected:
        PreselectSection(records, args);
        return true;
    case Command::AddFinishAction:
        AppendFinishAction(records, args);
        return true;
    case Command::DeleteOnInstall:
        records.obsoleteFiles.push_back(args[0]);
        return true;
    case Command::ShowMessage:
        if (args[3] == "NOW")
            return false;
        AppendAction(records, "ShowMessage", args);
        return true;
    default:
        return false;
    }
}
