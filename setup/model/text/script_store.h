// The script store: SetupScript.INI tokenised into an ordered list of calls.
#pragma once

#include <cstddef>
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

// What the tokeniser did with one character of the text. Tools that explain
// a script to its author observe these; setup itself passes no observer.
enum class TokenRule {
    CommentStart,   // the first "/" of "//" between calls
    Comment,        // inside a comment, up to and including its line feed
    Separator,      // ";" between calls
    Skipped,        // anything else between calls: blanks, quotes, parentheses
    NameStart,      // a letter or digit between calls starts a new entry
    NameChar,       // a letter or digit continues the last entry's name
    NameEnd,        // any other character ends the name and is skipped
    ListOpen,       // "(" opens the last entry's argument list (again)
    QuoteOpen,      // a quote between arguments starts a new argument
    QuotedChar,     // one character of an argument
    DoubledQuote,   // the first of two quotes that stand for one
    QuoteClose,     // the quote that ends an argument
    ListClose,      // ")" between arguments
    DroppedInList,  // unquoted text between arguments, dropped
};

struct TextPosition {
    size_t offset;  // into the text given to Tokenize
    int line;
    int column;
};

class TokenizeObserver {
public:
    virtual ~TokenizeObserver() = default;
    virtual void OnCharacter(TokenRule rule, const TextPosition& at) = 0;
};

// The script text as a text-mode read sees it: CR LF becomes LF, a byte 0x1A
// ends the text.
std::string ToScriptText(const std::string& bytes);

class ScriptStore {
public:
    // Appends the calls of a script text. Never rejects a text: malformed
    // input yields unexpected names or argument counts, not errors.
    // The observer, when given, learns which rule took each character; it
    // changes nothing in what is produced.
    void Tokenize(const std::string& text, LetterOrDigitTest isLetterOrDigit = IsAsciiLetterOrDigit,
                  TokenizeObserver* observer = nullptr);

    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const std::vector<ScriptEntry>& Entries() const { return entries_; }

private:
    std::vector<ScriptEntry> entries_;
};

extern ScriptStore gScript;
