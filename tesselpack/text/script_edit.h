// Changes to a script's calls that keep everything else byte for byte:
// comments, blanks, line ends and the other calls stay as written.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// Where one call stands in the script's bytes.
struct CallText {
    size_t begin = 0, end = 0;  // from its name to the closing quote of its last argument
    struct Span {
        size_t begin, end;  // an argument's text between its quotes, as written
    };
    std::vector<Span> arguments;
};

// Locates a call from the line and column (from 1, counted in the text as
// the tokeniser saw it) of its name and of each argument's opening quote.
struct LineColumn {
    int line, column;
};
CallText LocateCall(const std::string& bytes, LineColumn name, const std::vector<LineColumn>& quotes);

// The text that replaces a call: one copy of it per variant, each with the
// arguments that the variant names (by index from 0) given new values, the
// copies separated as the script separates calls, on lines of their own.
using ArgumentValues = std::map<int, std::string>;
std::string RepeatCall(const std::string& bytes, const CallText& call, const std::vector<ArgumentValues>& variants);

struct TextChange {
    size_t begin, end;
    std::string text;
};
// Applies changes that do not overlap.
std::string ApplyChanges(const std::string& bytes, std::vector<TextChange> changes);
