// The script store: SetupScript.INI tokenised into an ordered list of calls.
#pragma once

#include <string>
#include <vector>

struct ScriptEntry {
    std::string name;
    std::vector<std::string> arguments;
    int line = 1;    // where the name begins, for messages about the script
    int column = 1;
};

// Decides what counts as a letter or digit in command names; setup asks the
// system (the ANSI code page), the host build knows ASCII only.
using LetterOrDigitTest = bool (*)(unsigned char);
bool IsAsciiLetterOrDigit(unsigned char c);

// The script text as a text-mode read sees it: CR LF becomes LF, a byte 0x1A
// ends the text.
std::string ToScriptText(const std::string& bytes);

class ScriptStore {
public:
    // Appends the calls of a script text. Never rejects a text: malformed
    // input yields unexpected names or argument counts, not errors.
    void Tokenize(const std::string& text, LetterOrDigitTest isLetterOrDigit = IsAsciiLetterOrDigit);

    // Copies entry `index` out; -1 (outputs untouched) when out of range.
    int GetScriptEntry(int index, std::string& name, std::vector<std::string>& arguments) const;

    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const std::vector<ScriptEntry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    std::vector<ScriptEntry> entries_;
};

extern ScriptStore gScript;
