// The installation medium: the folder that holds the script and that setup
// starts in, where AddFile's source patterns are searched.
#pragma once

#include <string>
#include <vector>

#include "setup/model/text/records.h"

enum class SearchOutcome {
    Searched,          // the matches are what setup's search finds there (perhaps nothing)
    OutsideMedium,     // the pattern names another place on the target machine: not checked
    JoinedToMedium,    // the pattern continues the folder's name without a backslash, as [SP]DATA
    WildcardInFolder,  // only the last part of a pattern may hold * and ?
};

struct MediumSearch {
    SearchOutcome outcome = SearchOutcome::Searched;
    std::vector<FoundFile> matches;  // in name order
    std::string folder;              // where the matches lie, a path of the machine that runs the check
};

class Medium {
public:
    // `folder` is a path of the machine that runs the check.
    explicit Medium(const std::string& folder);

    // The value setup gives SP when started from this folder.
    const std::string& Folder() const { return folder_; }
    // The folder as the user named it, for messages.
    const std::string& Shown() const { return shown_; }

    // What a directory search for `pattern` (already expanded) finds, with the
    // rules of Windows: names compare ignoring case, "*.*" also matches names
    // without a dot.
    MediumSearch Search(const std::string& pattern) const;

private:
    std::string folder_, shown_;
};

// Whether `name` matches a search pattern with * and ?, with the rules of
// Windows: names compare ignoring case, "*.*" also matches names without a dot.
bool MatchesSearchPattern(const std::string& pattern, const std::string& name);
