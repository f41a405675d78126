#include "tesselpack/text/script_edit.h"

#include <algorithm>

namespace {

// The byte offset of a line and column: the text differs from the bytes only
// in CR LF read as LF, so columns agree and lines start after each LF.
size_t Offset(const std::string& bytes, LineColumn at)
{
    size_t offset = 0;
    for (int line = 1; line < at.line; ++line) {
        const size_t lf = bytes.find('\n', offset);
        if (lf == std::string::npos)
            return bytes.size();
        offset = lf + 1;
    }
    return std::min(bytes.size(), offset + at.column - 1);
}

// The offset of the quote that closes the argument opened at `quote`, or the
// end of the bytes for an argument that is never closed.
size_t ClosingQuote(const std::string& bytes, size_t quote)
{
    for (size_t i = quote + 1; i < bytes.size(); ++i) {
        if (bytes[i] != '"')
            continue;
        if (i + 1 < bytes.size() && bytes[i + 1] == '"')
            ++i;
        else
            return i;
    }
    return bytes.size();
}

std::string Quoted(const std::string& value)
{
    std::string text;
    for (char c : value) {
        text += c;
        if (c == '"')
            text += '"';
    }
    return text;
}

}  // namespace

CallText LocateCall(const std::string& bytes, LineColumn name, const std::vector<LineColumn>& quotes)
{
    CallText call;
    call.begin = call.end = Offset(bytes, name);
    for (const LineColumn& quote : quotes) {
        const size_t open = Offset(bytes, quote);
        const size_t close = ClosingQuote(bytes, open);
        call.arguments.push_back({std::min(open + 1, close), close});
        call.end = std::min(bytes.size(), close + 1);
    }
    return call;
}

std::string RepeatCall(const std::string& bytes, const CallText& call, const std::vector<ArgumentValues>& variants)
{
    const size_t lineStart = bytes.rfind('\n', call.begin) == std::string::npos ? 0 : bytes.rfind('\n', call.begin) + 1;
    std::string indent = bytes.substr(lineStart, call.begin - lineStart);
    if (indent.find_first_not_of(" \t") != std::string::npos)
        indent.clear();
    const size_t lf = bytes.find('\n', call.end);
    const std::string lineEnd = lf != std::string::npos && lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";

    std::string text;
    for (size_t v = 0; v < variants.size(); ++v) {
        if (v > 0)
            text += ");" + lineEnd + indent;
        size_t at = call.begin;
        for (size_t a = 0; a < call.arguments.size(); ++a) {
            const auto value = variants[v].find(static_cast<int>(a));
            if (value == variants[v].end())
                continue;
            text.append(bytes, at, call.arguments[a].begin - at);
            text += Quoted(value->second);
            at = call.arguments[a].end;
        }
        text.append(bytes, at, call.end - at);
    }
    return text;
}

std::string ApplyChanges(const std::string& bytes, std::vector<TextChange> changes)
{
    std::sort(changes.begin(), changes.end(), [](const TextChange& a, const TextChange& b) { return a.begin < b.begin; });
    std::string text;
    size_t at = 0;
    for (const TextChange& change : changes) {
        text.append(bytes, at, change.begin - at);
        text += change.text;
        at = change.end;
    }
    text.append(bytes, at, std::string::npos);
    return text;
}
