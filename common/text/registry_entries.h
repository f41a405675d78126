// The words of the script's registry entries and the rules that setup,
// Unskein and scriptcheck share about them: the roots, value types and
// removal words, the bytes a value holds, and which keys may ever be
// deleted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// HKCR is the machine's file types: on Windows NT they lie below
// HKLM\Software\Classes, on 95, 98 and ME in HKEY_CLASSES_ROOT itself.
enum class RegistryRoot { kLocalMachine, kCurrentUser, kClassesRoot };
enum class RegistryType { kString, kExpandString, kNumber, kNone };
// What Unskein does with an entry: its value, its key, or nothing.
enum class RegistryRemoval { kValue, kKey, kKeep };

std::optional<RegistryRoot> RegistryRootOf(const std::string& word);          // "HKLM", "HKCU", "HKCR"
std::optional<RegistryType> RegistryTypeOf(const std::string& word);          // "SZ", "EXPAND_SZ", "DWORD", "NONE"
std::optional<RegistryRemoval> RegistryRemovalOf(const std::string& word);    // "VALUE", "KEY", "KEEP"

// A DWORD's data: decimal digits, or "0x" and hex digits, within 32 bits.
std::optional<uint32_t> RegistryNumberOf(const std::string& data);

// The value's type number and bytes as setup writes them (a string with its
// terminating zero, a number as 4 bytes, low first); none for kNone and for
// a DWORD that is no number.
struct StoredValue {
    uint32_t type = 0;
    std::string bytes;
    bool operator==(const StoredValue& other) const { return type == other.type && bytes == other.bytes; }
};
std::optional<StoredValue> RegistryValueOf(RegistryType type, const std::string& data);

// The key's names from its root, split at backslashes; none for the root
// itself, an empty name (a leading, trailing or doubled backslash) or a NUL,
// which would name another key than the text shows.
std::optional<std::vector<std::string>> KeyNames(const std::string& key);

// How far a key may be deleted. Never: a root, a key directly below HKLM or
// HKCU, Software, Software\Classes and Software\Wow6432Node. Only when setup
// created it and it is empty: a key directly below the file types (HKCR, or
// Software\Classes of either root), a vendor key directly below Software,
// which several products share, and any key outside those two trees. With
// everything below it, when setup created it: the keys deeper in them.
enum class KeyGuard { kNever, kWhenCreatedAndEmpty, kWhenCreated };
KeyGuard GuardOf(RegistryRoot root, const std::vector<std::string>& names);

// Whether the key lies among the file types, whose changes the shell is told of.
bool IsFileTypeKey(RegistryRoot root, const std::vector<std::string>& names);

// An earlier value as the log keeps it: its type number in decimal, ':' and
// its bytes; and back, none for a text that no StoredValueText gives.
std::string StoredValueText(const StoredValue& value);
std::optional<StoredValue> StoredValueOf(const std::string& text);
