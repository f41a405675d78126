#include "setup/ui/text/finish.h"

#include "common/text/path_rules.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"

std::string FinishTitle(bool runStopped)
{
    return runStopped ? "Setup stopped" : "Setup complete";
}

std::string FinishText(const std::string& appName, bool runStopped)
{
    const std::string what = runStopped ? "The installation of " + appName + " was stopped before it was complete."
                                        : appName + " is now installed on your computer.";
    return what + "\n\nClick Finish to close setup.";
}

bool IsLeftOut(const InstallationRecords& records, const std::string& target, VariableStore& variables)
{
    std::string wanted = target;
    CollapseBackslashes(wanted);
    bool installed = false, named = false;
    for (const FileEntry& file : records.files) {
        std::string destination = file.destinationPath;
        if (!file.destinationExpanded)
            ExpandVariables(variables, destination);
        CollapseBackslashes(destination);
        if (!SameIgnoringAsciiCase(destination, wanted))
            continue;
        named = true;
        for (const SectionEntry& section : records.sections)
            installed = installed || (section.name == file.sectionName && IsSectionChosen(section));
    }
    return named && !installed;
}
