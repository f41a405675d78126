#include "uninstall/text/entry_rules.h"

#include <algorithm>

#include "uninstall/text/path_rules.h"

namespace {

// A NUL would cut a name or path where the system reads it, and so name
// another key, value or file than the log does. Data are compared as bytes.
bool HoldsNul(const std::vector<std::string>& fields)
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const std::string& field) { return field.find('\0') != std::string::npos; });
}

std::string JoinedKey(const std::vector<std::string>& names, std::size_t count)
{
    std::string key;
    for (std::size_t i = 0; i < count; ++i)
        key += (i > 0 ? "\\" : "") + names[i];
    return key;
}

// How many keys setup created, as the log says; none for a text setup never writes.
std::optional<std::size_t> CreatedCount(const std::string& text, std::size_t names)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    std::size_t count = 0;
    for (const char digit : text)
        count = count * 10 + static_cast<std::size_t>(digit - '0');
    return count <= names ? std::optional<std::size_t>(count) : std::nullopt;
}

std::optional<RegistryUndo> RegistryUndoOf(const std::vector<std::string>& fields)
{
    const std::optional<RegistryRoot> root = RegistryRootOf(fields[kRegistryRoot]);
    const std::optional<RegistryType> type = RegistryTypeOf(fields[kRegistryType]);
    const std::optional<RegistryRemoval> removal = RegistryRemovalOf(fields[kRegistryRemoval]);
    const std::optional<std::vector<std::string>> names = KeyNames(fields[kRegistryKey]);
    if (!root || !type || !names || !removal || removal == RegistryRemoval::kKeep ||
        HoldsNul({fields[kRegistryName]}))
        return std::nullopt;
    const std::optional<std::size_t> created = CreatedCount(fields[kRegistryCreated], names->size());
    RegistryUndo undo;
    undo.root = *root;
    undo.key = fields[kRegistryKey];
    undo.name = fields[kRegistryName];
    undo.written = RegistryValueOf(*type, fields[kRegistryData]);
    if (!created || (!undo.written && type != RegistryType::kNone))
        return std::nullopt;
    if (!fields[kRegistryEarlier].empty()) {
        undo.earlier = StoredValueOf(fields[kRegistryEarlier]);
        if (!undo.earlier)
            return std::nullopt;
    }
    if (removal == RegistryRemoval::kKey && GuardOf(*root, *names) != KeyGuard::kWhenCreated)
        return std::nullopt;
    undo.wholeKey = removal == RegistryRemoval::kKey && *created > 0;
    for (std::size_t depth = names->size(); depth > names->size() - *created; --depth) {
        const std::vector<std::string> upTo(names->begin(), names->begin() + depth);
        if (GuardOf(*root, upTo) == KeyGuard::kNever)
            return std::nullopt;  // setup never creates these
        if (!(undo.wholeKey && depth == names->size()))
            undo.emptyKeys.push_back(JoinedKey(*names, depth));
    }
    undo.fileTypes = IsFileTypeKey(*root, *names);
    return undo;
}

std::optional<IniUndo> IniUndoOf(const std::vector<std::string>& fields)
{
    const std::string& earlier = fields[kIniEarlier];
    if (!IsFullPlainPath(fields[kIniFile]) || (!earlier.empty() && earlier[0] != '='))
        return std::nullopt;
    IniUndo undo{fields[kIniFile], fields[kIniSection], fields[kIniKey], fields[kIniValue], std::nullopt};
    if (!earlier.empty())
        undo.earlier = earlier.substr(1);
    return undo;
}

// The record's undoing; none for one that setup cannot have written.
std::optional<EntryUndo> UndoOf(LogKind kind, const std::string& what)
{
    const std::optional<std::vector<std::string>> fields = DecodeLogFields(what, InfoOf(kind).fields);
    if (!fields || (kind != LogKind::kRegistryValue && HoldsNul(*fields)))
        return std::nullopt;
    EntryUndo undo;
    undo.kind = kind;
    if (kind == LogKind::kRegistryValue) {
        const std::optional<RegistryUndo> registry = RegistryUndoOf(*fields);
        if (!registry)
            return std::nullopt;
        undo.registry = *registry;
    } else if (kind == LogKind::kIniValue) {
        const std::optional<IniUndo> ini = IniUndoOf(*fields);
        if (!ini)
            return std::nullopt;
        undo.ini = *ini;
    } else {
        if (!IsFullPlainPath((*fields)[0]))
            return std::nullopt;
        undo.library = (*fields)[0];
    }
    return undo;
}

}  // namespace

EntryPlan PlanEntryUndo(const UninstallLog& log)
{
    EntryPlan plan;
    for (auto record = log.records.rbegin(); record != log.records.rend(); ++record) {
        const std::optional<LogKind> kind = LogKindOf(record->kind);
        if (!kind || (kind != LogKind::kRegistryValue && kind != LogKind::kIniValue && kind != LogKind::kLibrary))
            continue;
        if (const std::optional<EntryUndo> undo = UndoOf(*kind, record->path))
            plan.entries.push_back(*undo);
        else
            ++plan.skipped;
    }
    return plan;
}
