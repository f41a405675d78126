// Which files of earlier versions a DeleteOnInstall pattern may delete (setup
// deletes them, scriptcheck tells the author what it refuses): the
// rules of the log's paths, and never in a root or a system folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ObsoletePattern {
    std::string folder;  // with its trailing backslash
    std::string name;    // may hold * and ?
};

// The system's folders that no pattern reaches.
struct GuardedFolders {
    std::vector<std::string> trees;    // nothing in them or below (the Windows and system folders)
    std::vector<std::string> folders;  // nothing directly in them (Program Files)
};

// The expanded pattern split into its folder and name; nothing when it is
// not a full plain path with wildcards in its last part only, or when its
// folder is a root or guarded.
std::optional<ObsoletePattern> CheckObsoletePattern(const std::string& pattern, const GuardedFolders& guarded);
