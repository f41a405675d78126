// The installation medium: the folder that holds the script and that setup
// starts in, where AddFile's source patterns are searched.
#pragma once

#include <string>
#include <vector>

#include "scriptcheck/diagnostics.h"
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
    FoundTree tree;                  // AddFolder's: what lies below `folder`
};

// What the folder is: the medium itself, or the folder tesselpack makes
// a medium from. For tesselpack a source it cannot find stops it, and the
// programs it puts on every medium need not be there.
enum class MediumKind { kMedium, kTesselpackSource };

class Medium {
public:
    // `folder` is a path of the machine that runs the check.
    explicit Medium(const std::string& folder, MediumKind kind = MediumKind::kMedium);
    MediumKind Kind() const { return kind_; }

    // The value setup gives SP when started from this folder.
    const std::string& Folder() const { return folder_; }
    // The folder as the user named it, for messages.
    const std::string& Shown() const { return shown_; }

    // What a directory search for `pattern` (already expanded) finds, with the
    // rules of Windows: names compare ignoring case, "*.*" also matches names
    // without a dot.
    MediumSearch Search(const std::string& pattern) const;

    // What AddFolder's search for the folder `source` (already expanded)
    // finds below it: its folders and the files that match `pattern`, as
    // setup finds them in a package, sorted by their names in lower case.
    // No folder when the medium has none of that name.
    MediumSearch SearchTree(const std::string& source, const std::string& pattern) const;

    // Whether a search found its matches at the top of the folder, where
    // tesselpack puts its programs.
    bool IsTop(const MediumSearch& search) const;

private:
    std::string folder_, shown_;
    MediumKind kind_;
};

// The program of tesselpack's own that a source pattern names (by its last
// part, case ignored): "setup.exe" and "Unskein.exe", which every medium it
// writes holds at its top; null for any other name.
const char* ProgramOfTesselpack(const std::string& pattern);

// The finding about a source pattern that matches no file: for a medium a
// warning, since setup goes on without the file; for tesselpack's folder an
// error, since tesselpack cannot put the file on the medium. Both programs
// report it in these words.
struct SourceFinding {
    Severity severity;
    std::string message;
};
SourceFinding MissingSourceFinding(const Medium& medium, const std::string& quotedPattern);
// The same of AddFolder's source folder.
SourceFinding MissingFolderFinding(const Medium& medium, const std::string& quotedFolder);
