#include "uninstall/text/log_reader.h"

#include <algorithm>
#include <utility>

namespace {

const char kFilesLine[] = "[FILES]";
const char kRegistryLine[] = "[REGISTRY]";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Setup writes one of these after a SHARED kind line when the file loaded as a module.
bool IsRegistrationLine(const std::string& line)
{
    return line == "AUTOREGSVR" || line == "NOAUTOREGSVR";
}

bool EqualsIgnoringAsciiCase(char a, char b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

// A key directly below the Uninstall key or deeper. Registry names ignore case.
bool IsBelowUninstallKey(const std::string& key)
{
    const std::string prefix = kUninstallKey;
    if (key.size() <= prefix.size() || !std::equal(prefix.begin(), prefix.end(), key.begin(), EqualsIgnoringAsciiCase))
        return false;
    return key[prefix.size()] != '\\';
}

// A NUL would cut the path where the system reads it, and so name another
// file or key than the log does.
bool HoldsNul(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

}  // namespace

UninstallLog ReadUninstallLog(std::istream& in)
{
    UninstallLog log;
    std::string line;
    while (std::getline(in, line) && line != kFilesLine) {
    }
    if (!in)
        return log;

    std::vector<std::string> lines;
    bool registrySection = false;
    while (std::getline(in, line)) {
        if (line == kRegistryLine) {
            registrySection = true;
            break;
        }
        lines.push_back(std::move(line));
    }
    for (size_t next = 0; next < lines.size();) {
        LogRecord record{std::move(lines[next]), next + 1 < lines.size() ? std::move(lines[next + 1]) : ""};
        next += 2;
        if (record.kind == "SHARED" && next < lines.size() && IsRegistrationLine(lines[next]))
            ++next;
        log.records.push_back(std::move(record));
    }

    if (registrySection) {
        while (std::getline(in, line))
            if (!line.empty())
                log.registryKeys.push_back(line);
    }
    return log;
}

RemovalPlan PlanRemoval(const UninstallLog& log)
{
    RemovalPlan plan;
    for (auto record = log.records.rbegin(); record != log.records.rend(); ++record) {
        if (HoldsNul(record->path))
            continue;
        if (record->kind == "NONSHARED")
            plan.files.push_back(record->path);
        else if (record->kind == "DIR")
            plan.directories.push_back(record->path);
    }
    for (const std::string& key : log.registryKeys)
        if (IsBelowUninstallKey(key) && !HoldsNul(key))
            plan.registryKeys.push_back(key + "\\");
    return plan;
}

std::string LogPathBeside(const std::string& programPath)
{
    const size_t slash = programPath.rfind('\\');
    return (slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1)) + "uninstall.log";
}
