#include "scriptcheck/shortcut_check.h"

#include <algorithm>
#include <cctype>

#include "scriptcheck/suggest.h"
#include "setup/model/text/shortcut_places.h"

namespace {

// As setup compares paths: case and doubled backslashes aside.
std::string Comparable(const std::string& path)
{
    std::string text;
    for (const char c : path)
        if (!(c == '\\' && !text.empty() && text.back() == '\\'))
            text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "[DP]" names the folder the files go into: what lies there comes from an
// AddFile or from nowhere.
bool InInstallFolder(const std::string& written)
{
    return written.compare(0, 4, "[DP]") == 0;
}

}  // namespace

bool IsExpandedLater(Command command, int number, const std::vector<std::string>& args)
{
    if (command == Command::AddShortcut)
        return (number >= 2 && number <= 5) || (number == 1 && PlaceOf(args[0]) == ShortcutPlace::kFolder);
    return command == Command::AddFinishAction && (number == 2 || number == 3);
}

void ShortcutCheck::Note(Command command, const std::vector<std::string>& args, const std::function<Place(int)>& at,
                         VariableStore& variables, const std::vector<SectionEntry>& sectionsSoFar, int copies,
                         Diagnostics& d)
{
    auto noteTarget = [&](const std::string& written, const char* outcome) {
        std::string expanded = written;
        ExpandVariables(variables, expanded);
        const bool elsewhere = IsWebAddress(expanded) || (IsAbsolutePath(expanded) && !InInstallFolder(written));
        targets_.push_back({at(command == Command::AddShortcut ? 3 : 2), written, !elsewhere, outcome});
    };
    switch (command) {
    case Command::AddShortcut:
        if (PlaceOf(args[0]) == ShortcutPlace::kUnknown)
            d.Warning(at(1), Quoted(args[0]) + " is no place for a shortcut, nor a folder ending in a backslash: "
                                               "setup makes no shortcut" +
                                 DidYouMean(args[0], ShortcutPlaceWords()));
        noteTarget(args[2], "the shortcut points to nothing");
        shortcutSections_.push_back({at(6), args[5]});
        break;
    case Command::SetSectionSelected:
        if (std::none_of(sectionsSoFar.begin(), sectionsSoFar.end(),
                         [&](const SectionEntry& s) { return s.name == args[0]; }))
            d.Warning(at(1), "no CreateSection before this line creates the section " + Quoted(args[0]) +
                                 ": SetSectionSelected has no effect");
        break;
    case Command::AddFinishAction:
        if (std::find(FinishActionKinds().begin(), FinishActionKinds().end(), args[0]) == FinishActionKinds().end())
            d.Warning(at(1), Quoted(args[0]) + " is neither \"RUN\" nor \"OPEN\": setup never offers this "
                                               "action" + DidYouMean(args[0], FinishActionKinds()));
        noteTarget(args[1], "the action is not offered");
        actionsWaiting_.push_back(at(0));
        break;
    case Command::ShowFinish:
        if (copies == 0)
            d.Warning(at(0), "ShowFinish before ShowCopy: setup ends at the finish page, so nothing is installed");
        actionsWaiting_.clear();
        break;
    default:
        break;
    }
}

void ShortcutCheck::Report(const std::vector<std::string>& destinations, const std::vector<std::string>& sections,
                           Diagnostics& d) const
{
    for (const Place& at : actionsWaiting_)
        d.Warning(at, "AddFinishAction without ShowFinish after it: its check box is never shown");
    for (const Target& target : targets_) {
        const bool installed = std::any_of(destinations.begin(), destinations.end(), [&](const std::string& path) {
            return Comparable(path) == Comparable(target.written);
        });
        if (target.installedOnly && !installed)
            d.Warning(target.at, "no AddFile installs " + Quoted(target.written) +
                                     ", and it is neither an absolute path nor a web address: " + target.outcome);
    }
    for (const SectionUse& use : shortcutSections_)
        if (std::find(sections.begin(), sections.end(), use.name) == sections.end())
            d.Warning(use.at, "no CreateSection creates the section " + Quoted(use.name) +
                                  ": this shortcut is never made" + DidYouMean(use.name, sections));
}
