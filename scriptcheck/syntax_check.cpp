#include "scriptcheck/syntax_check.h"

#include <cctype>

#include "setup/model/letters.h"
#include "setup/model/text/commands.h"

namespace {

bool IsSeparatorInList(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == ',';
}

bool IsNumberText(const std::string& text)
{
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && !IsSeparatorInList(c) && c != '-' && c != '+' &&
            c != '.')
            return false;
    return true;
}

Place PlaceOf(const TextPosition& at)
{
    return {at.line, at.column};
}

// Follows the tokeniser character by character, keeping just enough state to
// tell what an author meant from what setup reads.
class SyntaxObserver : public TokenizeObserver {
public:
    SyntaxObserver(const std::string& text, const ScriptStore& store, Diagnostics& diagnostics)
        : text_(text), store_(store), diagnostics_(diagnostics)
    {
    }

    void OnCharacter(TokenRule rule, const TextPosition& at) override;
    void Finish();

    std::vector<EntryLayout> layouts;

private:
    // Stretches of text between calls that setup reads other than they look.
    enum class Region { None, StrayList, StrayQuote, CommentAfter };

    struct RunTogether {
        size_t entry;
        Place at;
        size_t prefixLength;
    };

    char CharAt(size_t offset) const { return offset < text_.size() ? text_[offset] : '\0'; }
    const std::string& EntryName() const { return store_.Entries().back().name; }
    EntryLayout& Entry() { return layouts.back(); }

    void StartEntry();
    void EndName(const TextPosition& at);
    void SkipBetweenCalls(const TextPosition& at);
    void DropInList(const TextPosition& at);
    void FlushDropped();
    void CheckLongArgument(size_t openOffset, size_t closeOffset);
    void ReportStrayList(const TextPosition& at);

    const std::string& text_;
    const ScriptStore& store_;
    Diagnostics& diagnostics_;

    size_t nameLength_ = 0;
    bool listClosed_ = false;
    bool ranTogether_ = false;
    bool inList_ = false, inQuote_ = false;
    Place listOpenAt_{}, quoteOpenAt_{};
    size_t quoteOpenOffset_ = 0;

    bool dropping_ = false;  // an unquoted run in an argument list, on one line
    Place dropStart_{};
    size_t dropFirst_ = 0, dropLast_ = 0;
    bool commentInList_ = false;

    Region region_ = Region::None;
    int regionLine_ = 0;
    std::vector<RunTogether> runTogether_;
};

void SyntaxObserver::OnCharacter(TokenRule rule, const TextPosition& at)
{
    const char c = CharAt(at.offset);
    if (rule != TokenRule::DroppedInList)
        FlushDropped();
    switch (rule) {
    case TokenRule::NameStart:
        StartEntry();
        Entry().name = PlaceOf(at);
        break;
    case TokenRule::NameChar:
        if (listClosed_ && !ranTogether_) {
            runTogether_.push_back({layouts.size() - 1, PlaceOf(at), nameLength_});
            Entry().explained = true;
            ranTogether_ = true;
        }
        ++nameLength_;
        break;
    case TokenRule::NameEnd:
        EndName(at);
        break;
    case TokenRule::Skipped:
        SkipBetweenCalls(at);
        break;
    case TokenRule::ListOpen:
        if (listClosed_ && !ranTogether_)
            diagnostics_.Warning(PlaceOf(at), "'(' directly after ')' continues the argument list of " +
                                                  Quoted(EntryName()) + "; end the call with ';' first");
        listClosed_ = false;
        if (!inList_)
            listOpenAt_ = PlaceOf(at);
        inList_ = true;
        break;
    case TokenRule::QuoteOpen:
        Entry().arguments.push_back(PlaceOf(at));
        inQuote_ = true;
        quoteOpenAt_ = PlaceOf(at);
        quoteOpenOffset_ = at.offset;
        break;
    case TokenRule::QuoteClose:
        inQuote_ = false;
        CheckLongArgument(quoteOpenOffset_, at.offset);
        break;
    case TokenRule::ListClose:
        inList_ = false;
        listClosed_ = true;
        commentInList_ = false;
        break;
    case TokenRule::DroppedInList:
        DropInList(at);
        break;
    default:
        break;
    }
    if (c == '\n' && !inQuote_)
        region_ = Region::None;
}

void SyntaxObserver::StartEntry()
{
    layouts.emplace_back();
    nameLength_ = 1;
    listClosed_ = false;
    ranTogether_ = false;
    if (region_ == Region::StrayList || region_ == Region::StrayQuote)
        Entry().explained = true;
    else if (region_ == Region::CommentAfter)
        Entry().commentLine = regionLine_;
}

void SyntaxObserver::EndName(const TextPosition& at)
{
    const char c = CharAt(at.offset);
    if (c == '/' && CharAt(at.offset + 1) == '/' && CharAt(at.offset + 2) != '/' &&
        region_ != Region::CommentAfter) {
        const std::string after = listClosed_ ? "')'" : "the name " + Quoted(EntryName());
        diagnostics_.Warning(PlaceOf(at), "'//' directly after " + after +
                                              " does not start a comment: setup reads the words after it as "
                                              "commands; put a blank or ';' before '//'");
        region_ = Region::CommentAfter;
        regionLine_ = at.line;
    } else if (c == '"' || c == ')') {
        SkipBetweenCalls(at);
    }
}

void SyntaxObserver::SkipBetweenCalls(const TextPosition& at)
{
    const char c = CharAt(at.offset);
    if (c == '(' && region_ == Region::None) {
        ReportStrayList(at);
        region_ = Region::StrayList;
    } else if (c == ')' && region_ == Region::StrayList) {
        region_ = Region::None;
    } else if (c == '"' && region_ == Region::StrayQuote) {
        region_ = Region::None;
    } else if (c == '"' && region_ == Region::None) {
        diagnostics_.Warning(PlaceOf(at), "quoted text outside an argument list is no argument: setup reads "
                                          "its words as command names");
        region_ = Region::StrayQuote;
    }
}

void SyntaxObserver::ReportStrayList(const TextPosition& at)
{
    size_t end = at.offset;
    while (end > 0 && (text_[end - 1] == ' ' || text_[end - 1] == '\t'))
        --end;
    size_t begin = end;
    while (begin > 0 && std::isalnum(static_cast<unsigned char>(text_[begin - 1])))
        --begin;
    if (end < at.offset && begin < end && !store_.Entries().empty() &&
        store_.Entries().back().name == text_.substr(begin, end - begin)) {
        const std::string name = Quoted(store_.Entries().back().name);
        diagnostics_.Warning(PlaceOf(at), "a blank stands between " + name + " and '(': setup reads " + name +
                                              " without arguments and does not read this list");
    } else {
        diagnostics_.Warning(PlaceOf(at), "'(' does not follow a command name: setup does not read this "
                                          "argument list");
    }
}

void SyntaxObserver::DropInList(const TextPosition& at)
{
    const char c = CharAt(at.offset);
    if (c == '\n') {
        FlushDropped();
        commentInList_ = false;
    } else if (commentInList_ || IsSeparatorInList(c)) {
        return;
    } else if (c == '/' && CharAt(at.offset + 1) == '/') {
        FlushDropped();
        diagnostics_.Warning(PlaceOf(at), "'//' inside the argument list of " + Quoted(EntryName()) +
                                              " does not start a comment: its words are dropped, but quoted "
                                              "text after it still counts as an argument");
        commentInList_ = true;
    } else {
        if (!dropping_) {
            dropping_ = true;
            dropStart_ = PlaceOf(at);
            dropFirst_ = at.offset;
        }
        dropLast_ = at.offset;
    }
}

void SyntaxObserver::FlushDropped()
{
    if (!dropping_)
        return;
    dropping_ = false;
    const std::string dropped = text_.substr(dropFirst_, dropLast_ - dropFirst_ + 1);
    const std::string list = Quoted(EntryName());

    // A command name here means the list swallowed the calls that follow it.
    size_t i = 0;
    while (i < dropped.size()) {
        size_t end = i;
        while (end < dropped.size() && !IsSeparatorInList(dropped[end]))
            ++end;
        size_t nameEnd = i;
        while (nameEnd < end && std::isalnum(static_cast<unsigned char>(dropped[nameEnd])))
            ++nameEnd;
        const std::string word = dropped.substr(i, nameEnd - i);
        if (FindCommand(word)) {
            const Place at{dropStart_.line, dropStart_.column + static_cast<int>(i)};
            diagnostics_.Error(at, Quoted(word) + " inside the argument list of " + list +
                                       " is no call: the list begun on line " + std::to_string(listOpenAt_.line) +
                                       " lacks its ')'");
            return;
        }
        i = end + 1;
    }
    if (Entry().explained || Entry().commentLine != 0)
        return;
    if (IsNumberText(dropped))
        diagnostics_.Warning(dropStart_, "unquoted number " + Quoted(dropped) + " in the argument list of " +
                                             list + " is dropped: write each argument in quotes, such as \"" +
                                             dropped.substr(0, dropped.find_first_of(" \t,")) + "\"");
    else
        diagnostics_.Warning(dropStart_, "unquoted text " + Quoted(dropped) + " in the argument list of " + list +
                                             " is dropped: only quoted text is an argument");
}

void SyntaxObserver::CheckLongArgument(size_t openOffset, size_t closeOffset)
{
    const std::string argument = text_.substr(openOffset + 1, closeOffset - openOffset - 1);
    int line = quoteOpenAt_.line;
    for (size_t start = argument.find('\n'); start != std::string::npos; start = argument.find('\n', start)) {
        ++start;
        ++line;
        size_t i = start;
        while (i < argument.size() && (argument[i] == ' ' || argument[i] == '\t'))
            ++i;
        size_t end = i;
        while (end < argument.size() && std::isalnum(static_cast<unsigned char>(argument[end])))
            ++end;
        if (end < argument.size() && argument[end] == '(' && FindCommand(argument.substr(i, end - i))) {
            diagnostics_.Warning(quoteOpenAt_, "this quoted argument holds " + Quoted(argument.substr(i, end - i + 1)) +
                                                   " on line " + std::to_string(line) +
                                                   ": is its closing quote missing?");
            return;
        }
    }
}

void SyntaxObserver::Finish()
{
    FlushDropped();
    if (inQuote_)
        diagnostics_.Error(quoteOpenAt_, "this quoted argument is never closed: setup reads the rest of the "
                                         "script into it");
    else if (inList_)
        diagnostics_.Error(listOpenAt_, "the argument list of " + Quoted(store_.Entries().back().name) +
                                            " is never closed with ')': setup reads the rest of the script "
                                            "as its arguments");
    for (const RunTogether& joined : runTogether_) {
        const std::string& name = store_.Entries()[joined.entry].name;
        const std::string rest = name.substr(joined.prefixLength);
        std::string message = Quoted(rest) + " follows ')' directly and continues the name: setup reads " +
                              Quoted(name);
        if (!FindCommand(name))
            message += ", which is no command, and skips it";
        diagnostics_.Error(joined.at, message + "; put ';' or a line break after ')'");
    }
}

}  // namespace

std::vector<EntryLayout> CheckSyntax(const std::string& text, ScriptStore& store, Diagnostics& diagnostics)
{
    SyntaxObserver observer(text, store, diagnostics);
    store.Tokenize(text, IsCommandLetterOrDigit, &observer);
    observer.Finish();
    // Editors that save UTF-8 may put a byte order mark first, which an ANSI
    // system reads as text and perhaps as a name.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        diagnostics.Warning({1, 1}, "the script begins with a UTF-8 byte order mark: setup reads ANSI text, "
                                    "so save the script in the Windows ANSI code page");
        for (EntryLayout& layout : observer.layouts)
            if (layout.name.line == 1 && layout.name.column <= 3)
                layout.explained = true;
    }
    return observer.layouts;
}
