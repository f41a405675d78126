// The script's commands: names, their arguments and what setup makes of
// each, and the effects that need nothing from the platform. Setup and the
// script checker both read this table.
#pragma once

#include <string>
#include <vector>

#include "setup/model/text/records.h"
#include "setup/model/text/platform.h"
#include "setup/model/text/variables.h"

enum class Command {
    SetAppName, SetBackground, SetRedrawWait, SetDeveloperName, SetVariable,
    SetWelcomeString, SetWelcomeString2, SetCaption, SetCaptionColor, SetCaptionSize,
    SetCaptionPos, CreateSection, AddFile, ShowMessage, AddWindow, ShowWelcome, ShowDest,
    ShowSections, ShowCopy, ShowProgramGroup, SetNextDynamicState, CheckButton, ForbidProcess,
    // The registry, INI files and libraries that register themselves
    AddRegistry, AddIniValue, RegisterLibrary,
    // Shortcuts, choices and the finish page
    AddShortcut, SetSectionSelected, ShowFinish, AddFinishAction,
    // Back, the licence and text pages, the Windows versions
    SetBackButton, ShowLicence, ShowText, RequireWindows,
    // Upgrades
    SetAppVersion, DeleteOnInstall,
    // Removal and folder trees
    SetCleanUninstall, DeleteOnUninstall, AddFolder,
    // 64-bit Windows
    SetInstall64, SetSectionPlatform,
};

// What setup makes of one argument.
enum class ArgumentKind : char {
    kText = 't',      // text taken as written (or expanded later, as AddFile's destination)
    kExpanded = 'x',  // text whose [NAME] references are expanded before the command runs
    kNumber = 'n',    // a number, read by atoi's rules
};

struct CommandInfo {
    // `kinds` holds one ArgumentKind letter per argument.
    CommandInfo(const char* name, Command command, const char* kinds);
    const char* name;
    Command command;
    int argumentCount;
    // The kind of argument `index` (from 0).
    ArgumentKind Kind(int index) const { return static_cast<ArgumentKind>(kinds_[index]); }

private:
    const char* kinds_;
};

const std::vector<CommandInfo>& CommandTable();

// The command whose name equals `name` exactly, or null: names that are no
// command (also those differing only in case) are skipped by the dispatcher.
const CommandInfo* FindCommand(const std::string& name);

// The name under which the page that a page command shows takes custom
// controls and Next conditions, such as "DIALOG_WELCOME"; null for commands
// that show no page.
const char* PageName(Command command);

// Expands the command's kExpanded arguments, in order.
void ExpandCommandArguments(const CommandInfo& info, std::vector<std::string>& args,
                            VariableStore& variables = gVariables);

// Carries out a command that only records something (variables, display
// settings, records other than AddFile's) into setup's stores or another
// pair. Returns false for the commands that need the platform:
// SetBackground's redraw, AddFile's and AddFolder's directory searches,
// ShowMessage "NOW", the pages and ForbidProcess.
bool RunRecordingCommand(const CommandInfo& info, const std::vector<std::string>& args,
                         const std::string& programFilesBase, VariableStore& variables = gVariables,
                         InstallationRecords& records = gRecords, const MachineFacts& machine = gMachine);
