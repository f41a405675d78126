// What the program group page computes without asking the system: the
// folder of a new program group.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The longest group path the page takes: a path buffer of 260 bytes less
// its terminating zero.
constexpr std::size_t kMaxGroupPath = 259;

// The folder of a new group named `name`: the Programs folder, "\", the
// name and "\" (an empty name gives the Programs folder and two
// backslashes). Nothing when that would be longer than kMaxGroupPath.
std::optional<std::string> NewGroupPath(const std::string& programsFolder, const std::string& name);
