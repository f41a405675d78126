// The paths of DeleteOnUninstall as Unskein will judge them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Why Unskein would delete nothing through `path`, with the folders that
// it keeps (see IsKeptFolder) where the check pretends they lie; nothing
// when it would delete through it.
std::optional<std::string> RefusedDeletionReason(const std::string& path, const std::vector<std::string>& kept,
                                                 const std::vector<std::string>& profileParents);
