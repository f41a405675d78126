#include "setup/model/text/built_in_variables.h"

#include "setup/model/text/platform.h"
#include "setup/model/text/records.h"
#include "setup/model/text/script_store.h"

std::vector<std::pair<std::string, std::string>> BuiltInVariables(const BuiltInFolders& folders)
{
    return {{"SP", folders.medium},
            {"SETUPFILE", folders.medium + "\\SetupScript.ini"},
            {"WINPATH", folders.windows},
            {"SYSPATH", folders.system},
            {"DP", folders.programFilesBase},
            {"APPDATA", folders.appData},
            {kWindows64Variable, folders.machine.windows64 ? "1" : "0"}};
}

void SetBuiltInVariables(VariableStore& store, const BuiltInFolders& folders)
{
    for (const auto& [name, value] : BuiltInVariables(folders))
        store.SetOutside(name, value);
}

void StartModel(const BuiltInFolders& folders)
{
    gScript = ScriptStore{};
    gRecords = InstallationRecords{};
    gVariables.Clear();
    gMachine = folders.machine;
    SetBuiltInVariables(gVariables, folders);
}
