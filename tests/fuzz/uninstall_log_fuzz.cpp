// Any bytes as an uninstall log: the reader ends, and the plan holds only
// what the records and key lines name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text/log_records.h"
#include "uninstall/text/entry_rules.h"
#include "uninstall/text/log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const UninstallLog log = ReadUninstallLog(std::string_view(reinterpret_cast<const char*>(data), size));
    const RemovalPlan plan = PlanRemoval(log);
    if (plan.files.size() + plan.directories.size() + plan.madeFiles.size() + plan.skipped > log.records.size() ||
        plan.registryKeys.size() > log.registryKeys.size())
        abort();
    // A record's fields, once read, encode to the very line they came from.
    for (const LogRecord& record : log.records)
        if (const auto fields = DecodeLogFields(record.path, 1 + std::count(record.path.begin(), record.path.end(), '|')))
            if (EncodeLogFields(*fields) != record.path)
                abort();
    for (const std::string& key : plan.registryKeys)
        if (key.size() < 54 || key.back() != '\\')
            abort();
    // Whatever the registry records say, no key is deleted that the rules
    // keep, and none that the record does not name.
    const EntryPlan entries = PlanEntryUndo(log);
    if (entries.entries.size() + entries.skipped > log.records.size())
        abort();
    for (const EntryUndo& entry : entries.entries) {
        const RegistryUndo& undo = entry.registry;
        const auto names = KeyNames(undo.key);
        if (entry.kind != LogKind::kRegistryValue)
            continue;
        if (!names || (undo.wholeKey && GuardOf(undo.root, *names) != KeyGuard::kWhenCreated))
            abort();
        for (const std::string& key : undo.emptyKeys)
            if (undo.key.compare(0, key.size(), key) != 0 || GuardOf(undo.root, *KeyNames(key)) == KeyGuard::kNever)
                abort();
    }
    return 0;
}
