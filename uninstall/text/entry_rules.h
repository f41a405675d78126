// Which registry values and keys, INI values and libraries of the log
// Unskein takes back, and how. Like the paths (path_rules.h), the records
// may have been edited by whoever can write to the installation folder: a
// record is acted on only when setup could have written it, and never
// deletes a root, a key directly below one, Software, Software\Classes, a
// vendor key or file type that setup did not create or that is not empty,
// nor anything the log does not name (see GuardOf).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/text/log_records.h"
#include "common/text/registry_entries.h"
#include "common/text/uninstall_log_reader.h"

// A REGVALUE record's undoing. The value goes only while it still holds
// what setup wrote; the earlier value, if there was one, is put back then.
struct RegistryUndo {
    RegistryRoot root = RegistryRoot::kLocalMachine;
    std::string key;
    std::string name;
    std::optional<StoredValue> written;  // none for a key without a value
    std::optional<StoredValue> earlier;
    bool wholeKey = false;               // "KEY" on a key setup created: it goes with everything below it
    std::vector<std::string> emptyKeys;  // the other keys setup created, deepest first, each deleted once empty
    bool fileTypes = false;              // among the file types, whose changes the shell is told of
};

// An INIVALUE record's undoing: the key goes (or gets its earlier value
// back) while it holds what setup wrote, and its section once empty.
struct IniUndo {
    std::string file, section, key, value;
    std::optional<std::string> earlier;
};

struct EntryUndo {
    LogKind kind = LogKind::kRegistryValue;
    RegistryUndo registry;  // kRegistryValue
    IniUndo ini;            // kIniValue
    std::string library;    // kLibrary: its DllUnregisterServer is called
};

struct EntryPlan {
    std::vector<EntryUndo> entries;  // last record first
    std::size_t skipped = 0;         // records of these kinds that setup cannot have written
};

EntryPlan PlanEntryUndo(const UninstallLog& log);
