// What Unskein tells about files that it cannot remove at once.
#pragma once

#include <string>
#include <vector>

// The question before anything is removed, naming the files (the first ten,
// and how many more).
std::string FilesInUseText(const std::vector<std::string>& files);

// Told once at the end when files wait for the next start of Windows.
inline constexpr char kRestartCompletesRemovalText[] =
    "Some files are in use. Restart Windows to complete the removal.";
