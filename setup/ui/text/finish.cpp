#include "setup/ui/text/finish.h"

#include <algorithm>
#include <cctype>

#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"

namespace {

bool SamePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

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
        if (!SamePath(destination, wanted))
            continue;
        named = true;
        for (const SectionEntry& section : records.sections)
            installed = installed || (section.name == file.sectionName && IsSectionChosen(section));
    }
    return named && !installed;
}
