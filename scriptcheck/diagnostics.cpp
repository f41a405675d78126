#include "scriptcheck/diagnostics.h"

#include <algorithm>

std::vector<Diagnostic> Diagnostics::Sorted() const
{
    std::vector<Diagnostic> sorted = items_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return sorted;
}


std::string Quoted(const std::string& text)
{
    constexpr size_t kLongest = 60;
    std::string shown;
    for (char c : text.substr(0, kLongest))
        shown += c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : std::string(1, c);
    return "'" + shown + (text.size() > kLongest ? "...'" : "'");
}
