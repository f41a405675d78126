#include "common/text/registry_entries.h"

#include <initializer_list>
#include <utility>

#include "common/text/path_rules.h"

namespace {

// The names below the root that the file types take the place of: none
// for HKCR, Software\Classes elsewhere; -1 when the key is not among them.
int ClassesDepth(RegistryRoot root, const std::vector<std::string>& names)
{
    if (root == RegistryRoot::kClassesRoot)
        return 0;
    if (names.size() >= 2 && SameIgnoringAsciiCase(names[0], "Software") && SameIgnoringAsciiCase(names[1], "Classes"))
        return 2;
    return -1;
}

// The names below the root that the vendor keys lie under: Software, or
// its 32-bit view on 64-bit Windows; 0 for any other key.
std::size_t VendorDepth(const std::vector<std::string>& names)
{
    if (names.size() >= 2 && SameIgnoringAsciiCase(names[0], "Software") && SameIgnoringAsciiCase(names[1], "Wow6432Node"))
        return 2;
    return !names.empty() && SameIgnoringAsciiCase(names[0], "Software") ? 1 : 0;
}

// The meaning of a script word, which is exact.
template <typename Meaning>
std::optional<Meaning> WordOf(const std::string& word,
                              std::initializer_list<std::pair<const char*, Meaning>> words)
{
    for (const auto& [text, meaning] : words)
        if (word == text)
            return meaning;
    return std::nullopt;
}

// The registry's number types (winnt.h), which this text core cannot include.
constexpr uint32_t kTypeString = 1, kTypeExpandString = 2, kTypeNumber = 4;

}  // namespace

std::optional<RegistryRoot> RegistryRootOf(const std::string& word)
{
    return WordOf<RegistryRoot>(word, {{"HKLM", RegistryRoot::kLocalMachine},
                                       {"HKCU", RegistryRoot::kCurrentUser},
                                       {"HKCR", RegistryRoot::kClassesRoot}});
}

std::optional<RegistryType> RegistryTypeOf(const std::string& word)
{
    return WordOf<RegistryType>(word, {{"SZ", RegistryType::kString},
                                       {"EXPAND_SZ", RegistryType::kExpandString},
                                       {"DWORD", RegistryType::kNumber},
                                       {"NONE", RegistryType::kNone}});
}

std::optional<RegistryRemoval> RegistryRemovalOf(const std::string& word)
{
    return WordOf<RegistryRemoval>(word, {{"VALUE", RegistryRemoval::kValue},
                                          {"KEY", RegistryRemoval::kKey},
                                          {"KEEP", RegistryRemoval::kKeep}});
}

std::optional<uint32_t> RegistryNumberOf(const std::string& data)
{
    const bool hex = data.size() > 2 && data[0] == '0' && (data[1] == 'x' || data[1] == 'X');
    const std::size_t start = hex ? 2 : 0;
    if (data.size() == start)
        return std::nullopt;
    uint64_t value = 0;
    for (std::size_t i = start; i < data.size(); ++i) {
        const char c = data[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::optional<StoredValue> RegistryValueOf(RegistryType type, const std::string& data)
{
    switch (type) {
    case RegistryType::kString:
        return StoredValue{kTypeString, data + '\0'};
    case RegistryType::kExpandString:
        return StoredValue{kTypeExpandString, data + '\0'};
    case RegistryType::kNumber:
        if (const std::optional<uint32_t> number = RegistryNumberOf(data)) {
            std::string bytes;
            for (int shift = 0; shift < 32; shift += 8)
                bytes += static_cast<char>((*number >> shift) & 0xFF);
            return StoredValue{kTypeNumber, bytes};
        }
        return std::nullopt;
    case RegistryType::kNone:
        break;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> KeyNames(const std::string& key)
{
    if (key.empty() || key.find('\0') != std::string::npos)
        return std::nullopt;
    std::vector<std::string> names(1);
    for (const char c : key) {
        if (c == '\\')
            names.emplace_back();
        else
            names.back() += c;
    }
    for (const std::string& name : names)
        if (name.empty())
            return std::nullopt;
    return names;
}

KeyGuard GuardOf(RegistryRoot root, const std::vector<std::string>& names)
{
    const int classes = ClassesDepth(root, names);
    const std::size_t parent = classes >= 0 ? static_cast<std::size_t>(classes) : VendorDepth(names);
    // Outside the products' and the file types' keys (SYSTEM, Control Panel,
    // Environment) a log's word that setup created a key is not trusted with
    // what lies below it.
    if (classes < 0 && parent == 0)
        return names.size() <= 1 ? KeyGuard::kNever : KeyGuard::kWhenCreatedAndEmpty;
    if (names.size() <= parent)
        return KeyGuard::kNever;
    return names.size() == parent + 1 ? KeyGuard::kWhenCreatedAndEmpty : KeyGuard::kWhenCreated;
}

bool IsFileTypeKey(RegistryRoot root, const std::vector<std::string>& names)
{
    return ClassesDepth(root, names) >= 0;
}

std::string StoredValueText(const StoredValue& value)
{
    return std::to_string(value.type) + ':' + value.bytes;
}

std::optional<StoredValue> StoredValueOf(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || text.find_first_not_of("0123456789") != colon)
        return std::nullopt;
    const std::optional<uint32_t> type = RegistryNumberOf(text.substr(0, colon));
    if (!type)
        return std::nullopt;
    return StoredValue{*type, text.substr(colon + 1)};
}
