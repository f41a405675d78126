#include "setup/install/registry_entries.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

#include "common/entry_keys.h"
#include "common/ini_values.h"
#include "common/text/registry_entries.h"
#include "setup/install/entry_log.h"
#include "setup/install/install_state.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

namespace {

// A registry entry after the copy page's expansion, its words read.
struct ExpandedEntry {
    std::string key, name, data;
    std::optional<RegistryRoot> root;
    std::optional<RegistryType> type;
    std::optional<RegistryRemoval> removal;
    std::optional<std::vector<std::string>> names;
    std::optional<StoredValue> value;

    bool IsValid() const { return root && type && removal && names && (value || type == RegistryType::kNone); }
};

ExpandedEntry Expand(const RegistryEntry& entry)
{
    ExpandedEntry expanded;
    expanded.key = entry.key;
    expanded.name = entry.name;
    expanded.data = entry.data;
    ExpandVariables(expanded.key);
    ExpandVariables(expanded.name);
    ExpandVariables(expanded.data);
    expanded.root = RegistryRootOf(entry.root);
    expanded.type = RegistryTypeOf(entry.type);
    expanded.removal = RegistryRemovalOf(entry.removal);
    expanded.names = KeyNames(expanded.key);
    if (expanded.type)
        expanded.value = RegistryValueOf(*expanded.type, expanded.data);
    return expanded;
}

// How many of the key's last names do not exist yet: the keys setup creates.
std::size_t MissingNames(RegistryRoot root, const std::vector<std::string>& names)
{
    std::string path;
    std::size_t existing = 0;
    for (; existing < names.size(); ++existing) {
        path += (existing > 0 ? "\\" : "") + names[existing];
        RegistryKey key;
        if (OpenEntryKey(root, path, KEY_QUERY_VALUE, false, key) != ERROR_SUCCESS)
            break;
    }
    return names.size() - existing;
}

std::optional<StoredValue> EarlierValue(const ExpandedEntry& entry)
{
    RegistryKey key;
    if (!entry.value || OpenEntryKey(*entry.root, entry.key, KEY_QUERY_VALUE, false, key) != ERROR_SUCCESS)
        return std::nullopt;
    return ReadStoredValue(key.get(), entry.name);
}

// Unskein takes a key away whole only where the safety rules let it; any
// other is logged for its value and the keys setup created, as "VALUE" is.
const char* LoggedRemoval(const ExpandedEntry& entry)
{
    const bool whole = entry.removal == RegistryRemoval::kKey && GuardOf(*entry.root, *entry.names) == KeyGuard::kWhenCreated;
    return whole ? "KEY" : "VALUE";
}

void WriteRegistryEntry(const RegistryEntry& entry, Prompter& prompter)
{
    const ExpandedEntry expanded = Expand(entry);
    const std::string shown =
        "The registry entry " + entry.root + "\\" + expanded.key + (expanded.name.empty() ? "" : "\\" + expanded.name);
    if (!expanded.IsValid()) {
        Inform(prompter, shown + " is not valid, setup will not write it.", "Error");
        return;
    }
    if (expanded.removal != RegistryRemoval::kKeep) {
        const std::optional<StoredValue> earlier = EarlierValue(expanded);
        std::vector<std::string> fields(kRegistryFieldCount);
        fields[kRegistryRoot] = entry.root;
        fields[kRegistryKey] = expanded.key;
        fields[kRegistryName] = expanded.name;
        fields[kRegistryType] = entry.type;
        fields[kRegistryData] = expanded.data;
        fields[kRegistryRemoval] = LoggedRemoval(expanded);
        fields[kRegistryCreated] = std::to_string(MissingNames(*expanded.root, *expanded.names));
        fields[kRegistryEarlier] = earlier ? StoredValueText(*earlier) : "";
        if (!LogEntry(LogKind::kRegistryValue, fields, shown, prompter))
            return;
    }
    RegistryKey key;
    const bool written =
        OpenEntryKey(*expanded.root, expanded.key, KEY_SET_VALUE, true, key) == ERROR_SUCCESS &&
        (!expanded.value || WriteStoredValue(key.get(), expanded.name, *expanded.value) == ERROR_SUCCESS);
    if (!written)
        Inform(prompter, shown + " could not be written, setup will continue.", "Error");
    if (IsFileTypeKey(*expanded.root, *expanded.names))
        gInstall.fileTypesChanged = true;
}

void WriteIniValue(const IniEntry& entry, Prompter& prompter)
{
    std::vector<std::string> fields = {entry.file, entry.iniSection, entry.key, entry.value, ""};
    for (std::size_t field = kIniFile; field < kIniEarlier; ++field)
        ExpandVariables(fields[field]);
    const std::string shown = "The INI value " + fields[kIniKey] + " in [" + fields[kIniSection] + "] of " + fields[kIniFile];
    if (entry.removal != "VALUE" && entry.removal != "KEEP") {
        Inform(prompter, shown + " is not valid, setup will not write it.", "Error");
        return;
    }
    if (entry.removal == "VALUE") {
        const std::optional<std::string> earlier = ReadIniValue(fields[kIniFile], fields[kIniSection], fields[kIniKey]);
        fields[kIniEarlier] = earlier ? "=" + *earlier : "";
        if (!LogEntry(LogKind::kIniValue, fields, shown, prompter))
            return;
    }
    if (!WritePrivateProfileStringA(fields[kIniSection].c_str(), fields[kIniKey].c_str(), fields[kIniValue].c_str(),
                                    fields[kIniFile].c_str()))
        Inform(prompter, shown + " could not be written, setup will continue.", "Error");
}

}  // namespace

void WriteSectionRegistry(const std::string& sectionName, Prompter& prompter)
{
    for (const RegistryEntry& entry : gRecords.registryEntries)
        if (entry.sectionName == sectionName)
            WriteRegistryEntry(entry, prompter);
}

void WriteSectionIniValues(const std::string& sectionName, Prompter& prompter)
{
    for (const IniEntry& entry : gRecords.iniEntries)
        if (entry.sectionName == sectionName)
            WriteIniValue(entry, prompter);
}

void NotifyFileTypesChanged()
{
    if (gInstall.fileTypesChanged)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
