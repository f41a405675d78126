#include "uninstall/text/log_reader.h"

#include <utility>

#include "uninstall/text/path_rules.h"

namespace {

const char kFilesLine[] = "[FILES]";
const char kRegistryLine[] = "[REGISTRY]";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Setup writes one of these after a SHARED kind line when the file loaded as a module.
bool IsRegistrationLine(const std::string& line)
{
    return line == "AUTOREGSVR" || line == "NOAUTOREGSVR";
}

// A key directly below the Uninstall key or deeper. Registry names ignore case.
bool IsBelowUninstallKey(const std::string& key)
{
    const std::string prefix = kUninstallKey;
    if (key.size() <= prefix.size() || !EqualsIgnoringAsciiCase(std::string_view(key).substr(0, prefix.size()), prefix))
        return false;
    return key[prefix.size()] != '\\';
}

// A NUL would cut the key where the system reads it, and so name another
// key than the log does.
bool HoldsNul(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

// Takes the next line off `rest`; false at the end of the bytes.
bool NextLine(std::string_view& rest, std::string& line)
{
    if (rest.empty())
        return false;
    const size_t feed = rest.find('\n');
    std::string_view text = rest.substr(0, feed);
    rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
    if (feed != std::string_view::npos && !text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    line.assign(text);
    return true;
}

}  // namespace

UninstallLog ReadUninstallLog(std::string_view bytes)
{
    UninstallLog log;
    std::string line;
    bool filesSection = false;
    while (!filesSection && NextLine(bytes, line))
        filesSection = line == kFilesLine;
    if (!filesSection)
        return log;

    std::vector<std::string> lines;
    bool registrySection = false;
    while (NextLine(bytes, line)) {
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
        while (NextLine(bytes, line))
            if (!line.empty())
                log.registryKeys.push_back(line);
    }
    return log;
}

RemovalPlan PlanRemoval(const UninstallLog& log)
{
    RemovalPlan plan;
    for (auto record = log.records.rbegin(); record != log.records.rend(); ++record) {
        const bool isFile = record->kind == "NONSHARED";
        if (!isFile && record->kind != "DIR")
            continue;
        if (!IsFullPlainPath(record->path))
            ++plan.skipped;
        else
            (isFile ? plan.files : plan.directories).push_back(record->path);
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
