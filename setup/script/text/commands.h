// The script's commands: names, argument counts, which arguments are
// expanded, and the effects that need nothing from the platform.
#pragma once

#include <string>
#include <vector>

enum class Command {
    SetAppName, SetBackground, SetRedrawWait, SetDeveloperName, SetVariable,
    SetWelcomeString, SetWelcomeString2, SetCaption, SetCaptionColor, SetCaptionSize,
    SetCaptionPos, CreateSection, AddFile, ShowMessage, AddWindow, ShowWelcome, ShowDest,
    ShowSections, ShowCopy, ShowProgramGroup, SetNextDynamicState, CheckButton, ForbidProcess,
};

struct CommandInfo {
    const char* name;
    Command command;
    int argumentCount;
    unsigned expanded;  // bit i set: argument i+1 is expanded before use
};

const std::vector<CommandInfo>& CommandTable();

// The command whose name equals `name` exactly, or null: names that are no
// command (also those differing only in case) are skipped by the dispatcher.
const CommandInfo* FindCommand(const std::string& name);

// The name under which the page that a page command shows takes custom
// controls and Next conditions, such as "DIALOG_WELCOME"; null for commands
// that show no page.
const char* PageName(Command command);

// Expands the arguments that the command's row names, in order.
void ExpandCommandArguments(const CommandInfo& info, std::vector<std::string>& args);

// Carries out a command that only records something (variables, display
// settings, records other than AddFile's). Returns false for the commands
// that need the platform: SetBackground's redraw, AddFile's directory
// search, ShowMessage "NOW", the pages and ForbidProcess.
bool RunRecordingCommand(const CommandInfo& info, const std::vector<std::string>& args,
                         const std::string& programFilesBase);
