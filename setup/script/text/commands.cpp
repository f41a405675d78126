#include "setup/script/text/commands.h"

#include <algorithm>

#include "setup/script/text/folder_names.h"
#include "setup/script/text/records.h"
#include "setup/script/text/variables.h"

namespace {
constexpr unsigned kArg1 = 1u << 0, kArg2 = 1u << 1, kArg4 = 1u << 3;
}

const std::vector<CommandInfo>& CommandTable()
{
    static const std::vector<CommandInfo> table = {
        {"SetAppName", Command::SetAppName, 1, kArg1},
        {"SetBackground", Command::SetBackground, 6, 0},
        {"SetRedrawWait", Command::SetRedrawWait, 1, 0},
        {"SetDeveloperName", Command::SetDeveloperName, 1, kArg1},
        {"SetVariable", Command::SetVariable, 2, kArg1 | kArg2},
        {"SetWelcomeString", Command::SetWelcomeString, 2, kArg1 | kArg2},
        {"SetWelcomeString2", Command::SetWelcomeString2, 1, kArg1},
        {"SetCaption", Command::SetCaption, 1, kArg1},
        {"SetCaptionColor", Command::SetCaptionColor, 6, 0},
        {"SetCaptionSize", Command::SetCaptionSize, 1, 0},
        {"SetCaptionPos", Command::SetCaptionPos, 4, 0},
        {"CreateSection", Command::CreateSection, 4, 0},
        {"AddFile", Command::AddFile, 10, kArg1},
        {"ShowMessage", Command::ShowMessage, 4, kArg1 | kArg2},
        {"AddWindow", Command::AddWindow, 9, kArg4},
        {"ShowWelcome", Command::ShowWelcome, 0, 0},
        {"ShowDest", Command::ShowDest, 0, 0},
        {"ShowSections", Command::ShowSections, 0, 0},
        {"ShowCopy", Command::ShowCopy, 0, 0},
        {"ShowProgramGroup", Command::ShowProgramGroup, 0, 0},
        {"SetNextDynamicState", Command::SetNextDynamicState, 5, 0},
        {"CheckButton", Command::CheckButton, 1, 0},
        {"ForbidProcess", Command::ForbidProcess, 1, 0},
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
    default: return nullptr;
    }
}

void ExpandCommandArguments(const CommandInfo& info, std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size() && i < 32; ++i)
        if (info.expanded & (1u << i))
            ExpandVariables(args[i]);
}

bool RunRecordingCommand(const CommandInfo& info, const std::vector<std::string>& args,
                         const std::string& programFilesBase)
{
    switch (info.command) {
    case Command::SetAppName:
        gVariables.Set("APPNAME", args[0]);
        gVariables.Set("PROGRAMGROUP", FolderNameFor(args[0]));
        gVariables.Set("DP", programFilesBase + FolderNameFor(args[0]) + "\\");
        return true;
    case Command::SetRedrawWait:
        gRecords.display.redrawWait = std::clamp(ScriptNumber(args[0]), 0, kMaxRedrawWait);
        return true;
    case Command::SetDeveloperName:
        gVariables.Set("DEVELOPERNAME", args[0]);
        return true;
    case Command::SetVariable:
        gVariables.Set(args[0], args[1]);
        return true;
    case Command::SetWelcomeString:
        gVariables.Set("WELCOMESTRING_CAP", args[1]);
        gVariables.Set("WELCOMESTRING", args[0]);
        return true;
    case Command::SetWelcomeString2:
        gVariables.Set("WELCOMESTRING2", args[0]);
        return true;
    case Command::SetCaption:
        gVariables.Set("CAPTION", args[0]);
        return true;
    case Command::SetCaptionColor:
        SetCaptionColors(gRecords.display, args);
        return true;
    case Command::SetCaptionSize:
        gRecords.display.captionSize = ScriptNumber(args[0]);
        return true;
    case Command::SetCaptionPos:
        SetCaptionPositions(gRecords.display, args);
        return true;
    case Command::CreateSection:
        AppendSection(gRecords, args);
        return true;
    case Command::AddWindow:
        AppendCustomWindow(gRecords, args);
        return true;
    case Command::SetNextDynamicState:
        AppendAction(gRecords, "SetNextDynamicState", args);
        return true;
    case Command::CheckButton:
        AppendAction(gRecords, "CheckButton", args);
        return true;
    case Command::ShowMessage:
        if (args[3] == "NOW")
            return false;
        AppendAction(gRecords, "ShowMessage", args);
        return true;
    default:
        return false;
    }
}
