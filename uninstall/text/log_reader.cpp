#include "uninstall/text/log_reader.h"

#include <algorithm>
#include <optional>

#include "common/text/log_records.h"

#include "uninstall/text/path_rules.h"

namespace {

bool EqualsIgnoringAsciiCase(char a, char b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), EqualsIgnoringAsciiCase);
}

// An entry of the list of programs: a key directly below the Uninstall key.
// Registry names ignore case.
bool IsUninstallEntry(const std::string& key)
{
    const std::string prefix = std::string(kUninstallBranch) + "\\";
    if (key.size() <= prefix.size() || !std::equal(prefix.begin(), prefix.end(), key.begin(), EqualsIgnoringAsciiCase))
        return false;
    return key.find('\\', prefix.size()) == std::string::npos;
}

// Doubled separators name the same file; a network path keeps its two.
std::string CollapsedPath(const std::string& path)
{
    std::string collapsed;
    for (size_t i = 0; i < path.size(); ++i)
        if (!(i > 1 && path[i] == '\\' && collapsed.back() == '\\'))
            collapsed += path[i];
    return collapsed;
}

// A NUL would cut the path where the system reads it, and so name another
// file or key than the log does.
bool HoldsNul(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

bool IsInstall64Record(const std::string& what)
{
    const std::optional<std::vector<std::string>> fields = DecodeLogFields(what, InfoOf(LogKind::kInstall64).fields);
    return fields && (*fields)[0] == kInstall64View;
}

// The newer kinds of record, through the log's one table of their layouts.
void PlanNewerRecord(const LogRecord& record, RemovalPlan& plan)
{
    const std::optional<LogKind> kind = LogKindOf(record.kind);
    if (kind == LogKind::kCleanUninstall) {
        const auto fields = DecodeLogFields(record.path, InfoOf(*kind).fields);
        plan.cleanUninstall = plan.cleanUninstall || (fields && (*fields)[0] == "1");
    } else if (kind == LogKind::kInstall64) {
        plan.uses64 = plan.uses64 || IsInstall64Record(record.path);
    } else if (kind == LogKind::kDeleteOnUninstall) {
        const auto fields = DecodeLogFields(record.path, InfoOf(*kind).fields);
        const std::optional<DeletionTarget> target =
            fields && !HoldsNul((*fields)[0]) ? ReadDeletionTarget((*fields)[0]) : std::nullopt;
        if (target)
            plan.madeFiles.push_back({*target, (*fields)[1] == "1", (*fields)[2]});
        else
            ++plan.skipped;
    }
}

}  // namespace

RemovalPlan PlanRemoval(const UninstallLog& log)
{
    RemovalPlan plan;
    for (auto record = log.records.rbegin(); record != log.records.rend(); ++record) {
        if (HoldsNul(record->path))
            continue;
        const bool acts = record->kind == "NONSHARED" || record->kind == "DIR" || record->kind == "SHARED";
        if (acts && !IsFullPlainPath(record->path))
            ++plan.skipped;
        else if (record->kind == "NONSHARED")
            plan.files.push_back(record->path);
        else if (record->kind == "DIR")
            plan.directories.push_back(record->path);
        else if (record->kind == "SHARED")
            plan.sharedFiles.push_back(record->path);
        else
            PlanNewerRecord(*record, plan);
    }
    for (const std::string& key : log.registryKeys)
        if (IsUninstallEntry(key) && !HoldsNul(key))
            plan.registryKeys.push_back(key + "\\");
    return plan;
}

std::string LogPathBeside(const std::string& programPath)
{
    const size_t slash = programPath.rfind('\\');
    return (slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1)) + "uninstall.log";
}

bool SameProgramPath(const std::string& a, const std::string& b)
{
    return !a.empty() && EqualIgnoringAsciiCase(CollapsedPath(a), CollapsedPath(b));
}
