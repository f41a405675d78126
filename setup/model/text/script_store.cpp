#include "setup/model/text/script_store.h"

ScriptStore gScript;

bool IsAsciiLetterOrDigit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string ToScriptText(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\x1A')
            break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += c;
    }
    return text;
}

void ScriptStore::Tokenize(const std::string& text, LetterOrDigitTest isLetterOrDigit,
                           TokenizeObserver* observer)
{
    bool inComment = false, inName = false, inList = false, inQuote = false;
    int line = 1, column = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        const char next = i + 1 < n ? text[i + 1] : '\0';
        if (c == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
        const TextPosition at{i, line, column};
        auto report = [&](TokenRule rule) {
            if (observer)
                observer->OnCharacter(rule, at);
        };

        if (inComment) {
            if (c == '\n')
                inComment = false;
            report(TokenRule::Comment);
            continue;
        }
        if (!inName && !inList) {  // between calls
            if (c == '/' && next == '/') {
                inComment = true;
                report(TokenRule::CommentStart);
            } else if (isLetterOrDigit(static_cast<unsigned char>(c))) {
                entries_.push_back(ScriptEntry{std::string(1, c), {}, line, column});
                inName = true;
                report(TokenRule::NameStart);
            } else {
                report(c == ';' ? TokenRule::Separator : TokenRule::Skipped);
            }
            continue;
        }
        if (c == '(' && !inQuote) {
            inList = true;
            report(TokenRule::ListOpen);
            continue;
        }
        if (inList && inQuote) {  // inside a quoted argument
            if (c == '"' && next != '"') {
                inQuote = false;
                report(TokenRule::QuoteClose);
                continue;
            }
            entries_.back().arguments.back() += c;
            if (c == '"') {  // a doubled quote stands for one
                report(TokenRule::DoubledQuote);
                ++i;
                ++column;
            } else {
                report(TokenRule::QuotedChar);
            }
            continue;
        }
        if (!inList) {  // reading a name
            if (isLetterOrDigit(static_cast<unsigned char>(c))) {
                entries_.back().name += c;
                report(TokenRule::NameChar);
            } else {
                inName = false;
                report(TokenRule::NameEnd);
            }
            continue;
        }
        // between arguments: unquoted text is not an argument
        if (c == '"') {
            entries_.back().arguments.emplace_back();
            inQuote = true;
            report(TokenRule::QuoteOpen);
        } else if (c == ')') {
            inList = false;
            report(TokenRule::ListClose);
        } else {
            report(TokenRule::DroppedInList);
        }
    }
}
