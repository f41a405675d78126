// Reading a text value of the registry, as setup and Unskein read the
// entries of the list of installed programs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The REG_SZ or REG_EXPAND_SZ value `name` of `key` (unexpanded), without its
// terminating zero; nothing when it is missing, of another type, or longer
// than two paths.
std::optional<std::string> ReadTextValue(HKEY key, const char* name);
