// The script read as setup reads it, and where that differs from what the
// text suggests to a human reader.
#pragma once

#include <string>
#include <vector>

#include "scriptcheck/diagnostics.h"
#include "setup/model/text/script_store.h"

// Where the tokeniser found the parts of one entry, and what the syntax
// check has already said about it.
struct EntryLayout {
    Place name;
    std::vector<Place> arguments;  // the opening quote of each argument
    bool explained = false;        // a syntax finding already accounts for this entry
    int commentLine = 0;           // nonzero: the name stands in text after a "//" that is no comment
};

// Tokenises `text` into `store` exactly as setup does and reports unquoted
// text in argument lists, calls run together, "//" directly after ")" or a
// name, "(" and quotes outside a call, and unterminated quotes and lists.
// Returns one layout per entry of the store.
std::vector<EntryLayout> CheckSyntax(const std::string& text, ScriptStore& store, Diagnostics& diagnostics);
