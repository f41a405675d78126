// What the script checker finds in shortcuts and the finish page:
// AddShortcut, SetSectionSelected, ShowFinish and AddFinishAction.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scriptcheck/diagnostics.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

// Whether argument `number` (from 1) of the command keeps its [NAME]
// references until the copy page or the finish page expands them.
bool IsExpandedLater(Command command, int number, const std::vector<std::string>& args);

class ShortcutCheck {
public:
    // One entry of these commands as the walk carries it out; `at` gives
    // where argument n (from 1, 0 for the entry) begins, `variables` as
    // they stand, `copies` the ShowCopy entries before it.
    void Note(Command command, const std::vector<std::string>& args, const std::function<Place(int)>& at,
              VariableStore& variables, const std::vector<SectionEntry>& sectionsSoFar, int copies,
              Diagnostics& d);
    // Once the whole script is walked: the targets no AddFile installs
    // (`destinations` as written), actions without a finish page, and
    // shortcuts of sections that do not exist.
    void Report(const std::vector<std::string>& destinations, const std::vector<std::string>& sections,
                Diagnostics& d) const;

private:
    struct Target {
        Place at;
        std::string written;
        bool installedOnly;  // neither an absolute path nor a web address once expanded
        const char* outcome;
    };
    struct SectionUse {
        Place at;
        std::string name;
    };
    std::vector<Target> targets_;
    std::vector<SectionUse> shortcutSections_;
    std::vector<Place> actionsWaiting_;  // AddFinishAction without a ShowFinish after it yet
};
