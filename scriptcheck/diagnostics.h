// What scriptcheck reports: findings tied to a place in the script.
#pragma once

#include <string>
#include <vector>

enum class Severity { Warning, Error };

struct Diagnostic {
    int line;
    int column;
    Severity severity;
    std::string message;
};

struct Place {
    int line;
    int column;
};

class Diagnostics {
public:
    void Error(Place at, std::string message) { Add(at, Severity::Error, std::move(message)); }
    void Warning(Place at, std::string message) { Add(at, Severity::Warning, std::move(message)); }
    void Add(Place at, Severity severity, std::string message)
    {
        items_.push_back({at.line, at.column, severity, std::move(message)});
    }

    // In script order; findings at one place keep the order they were made in.
    std::vector<Diagnostic> Sorted() const;

private:
    std::vector<Diagnostic> items_;
};

// "'text'": how findings quote the script's words, on one line and cut
// short when long.
std::string Quoted(const std::string& text);
