// What an upgrade decides from the installed version's entry in the list of
// programs: which version is newer, where that version lies, what to ask.
#pragma once

#include <optional>
#include <string>

// Compares dotted versions part by part as numbers ("1.10" is newer than
// "1.9"; "1.0" and "1" are equal); each part counts by its leading digits.
// Less than 0, 0 or more than 0 as `a` is older than, as old as or newer
// than `b`.
int CompareVersions(const std::string& a, const std::string& b);

// The folder, with its trailing backslash, of the version whose entry has
// this UninstallString: that of the Unskein.exe it starts; nothing when it
// starts another program (another installer's entry of the same name).
std::optional<std::string> InstalledFolderOf(const std::string& uninstallString);

// The question before an older version goes over a newer one.
std::string OlderVersionQuestion(const std::string& appName, const std::string& installed,
                                 const std::string& ours);
