// The uninstall log's record kinds beyond files and folders: one table that
// setup's writer and Unskein's reader share, so that they never disagree on
// a layout. Each record is a pair of lines, as every record of the log is:
// its "what" line, its fields joined by '|' with EncodeLogFields, then its
// kind word. A reader that does not know the word passes over the pair.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

enum class LogKind {
    kRegistryValue,      // "REGVALUE": a value or key that setup wrote
    kIniValue,           // "INIVALUE": a key that setup wrote into an INI file
    kLibrary,            // "REGLIBRARY": a private library registered through DllRegisterServer
    kLink,               // "LINK": a shortcut's path and the target it was made with
    kDeleteOnUninstall,  // "DELETEFILES": files the program makes itself: the path (a file, a pattern, or a
                         // folder ending in '\'), "1" when Unskein asks first, and the application's name
    kCleanUninstall,     // "CLEANUNINSTALL": "1": Unskein removes itself, the log and the empty folders
    kInstall64,          // "INSTALL64": the installation used the 64-bit folders and registry view
};

// REGVALUE's fields: the root, key, value name and type words, the data as
// written and the removal word, all as the script gave them after
// expansion; how many of the key's last names setup created (decimal); and
// the value before, empty when there was none (see StoredValueText).
// Setup logs no entry whose removal is "KEEP".
enum RegistryField : std::size_t {
    kRegistryRoot, kRegistryKey, kRegistryName, kRegistryType, kRegistryData, kRegistryRemoval,
    kRegistryCreated, kRegistryEarlier, kRegistryFieldCount
};
// INIVALUE's fields: the file, its section, the key and the value written;
// and the value before, empty when there was none, else "=" and the value.
// REGLIBRARY's one field is the library's path.
enum IniField : std::size_t { kIniFile, kIniSection, kIniKey, kIniValue, kIniEarlier, kIniFieldCount };

struct LogKindInfo {
    LogKind kind;
    const char* word;      // the kind line
    std::size_t fields;    // how many fields its "what" line holds
};

const std::vector<LogKindInfo>& LogKindTable();
const LogKindInfo& InfoOf(LogKind kind);
// The kind whose word `word` is, or none.
std::optional<LogKind> LogKindOf(const std::string& word);

// The one field of an INSTALL64 record: the registry view and system folder
// that the installation used were the 64-bit ones.
inline constexpr char kInstall64View[] = "64";

// The longest line a log may hold: what the older readers take whole.
constexpr std::size_t kMaxLogLine = 259;

// Joins fields into a "what" line. Each field may hold any bytes: '%', '|',
// CR, LF, NUL and the other control characters are written as %XX, so the
// line splits back into the same fields.
std::string EncodeLogFields(const std::vector<std::string>& fields);
// Whether the fields' "what" line fits within kMaxLogLine.
bool FitsLogLine(const std::vector<std::string>& fields);
// Splits a "what" line into its fields; none for a line that no
// EncodeLogFields call writes (a bad escape), or whose field count is not
// `expected`.
std::optional<std::vector<std::string>> DecodeLogFields(const std::string& what, std::size_t expected);
