// The script carried out in imagination: what each command would do, and
// what it refers to that does not exist.
#pragma once

#include <vector>

#include "scriptcheck/diagnostics.h"
#include "scriptcheck/medium.h"
#include "scriptcheck/syntax_check.h"
#include "setup/model/text/script_store.h"

// Walks the entries as setup's dispatcher does, recording variables,
// sections, files, custom controls and actions with setup's own record
// building (into stores of the walk's own), and reports
// unknown names, wrong argument counts, texts where numbers belong, variables
// that are never set, source patterns that match nothing on the medium,
// sections, pages and controls that do not exist, spread files without their
// last piece, AddFolder source folders that are missing, AddFile lines
// that one AddFolder could replace, an installation without its uninstaller, what entry_check.h
// finds in registry, INI and library entries, missing licence and text
// files, unreadable Windows versions, and Back and RequireWindows after the
// first page.
// Returns the calls that read files of the medium, in script order: the
// AddFile and AddFolder calls that setup carries out, and the files that the
// licence and text pages show.
struct AddFileCall {
    size_t entry;
    std::vector<std::string> args;  // after the command's expansion
    MediumSearch search;
    bool shownFile = false;   // ShowLicence's or ShowText's: read whole, as it is
    bool folderTree = false;  // AddFolder's: the search's tree
};
std::vector<AddFileCall> CheckCommands(const ScriptStore& store, const std::vector<EntryLayout>& layouts,
                                       const Medium& medium, Diagnostics& diagnostics);
