// The variables setup knows before it reads the script.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "setup/model/text/platform.h"
#include "setup/model/text/variables.h"

// The folders they come from, each without a trailing backslash but for the
// program files base.
struct BuiltInFolders {
    std::string medium;            // the current folder setup starts in
    std::string windows;
    std::string system;
    std::string programFilesBase;  // ProgramFilesDir and "\"
    std::string appData;           // the user's application data folder
    MachineFacts machine;
};

// Each built-in variable's name and value, in the order setup sets them.
std::vector<std::pair<std::string, std::string>> BuiltInVariables(const BuiltInFolders& folders);

// Sets them as values from outside the script: a medium in "D:\Setup [v2]"
// must still find its files.
void SetBuiltInVariables(VariableStore& store, const BuiltInFolders& folders);

// The model as setup starts: no script, no records, and only the built-in
// variables.
void StartModel(const BuiltInFolders& folders);
