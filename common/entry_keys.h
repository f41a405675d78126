// The keys of the script's registry entries, for setup, which writes them,
// and Unskein, which takes them back. Every such key is opened or created
// through OpenEntryKey, so that one place decides which registry they see.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/handles.h"
#include "common/text/registry_entries.h"

// Opens (with `create`, creates) the key below the root, the root itself
// for an empty `key`; the platform's error code. The file types lie below HKLM\Software\Classes on Windows NT
// and in HKEY_CLASSES_ROOT on 95, 98 and ME.
LONG OpenEntryKey(RegistryRoot root, const std::string& key, REGSAM access, bool create, RegistryKey& opened);

// A value's type and bytes, whatever its type and length; none when it is missing.
std::optional<StoredValue> ReadStoredValue(HKEY key, const std::string& name);
LONG WriteStoredValue(HKEY key, const std::string& name, const StoredValue& value);
