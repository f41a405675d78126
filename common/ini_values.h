// Values of INI files, for setup's AddIniValue entries and Unskein, which
// takes them back.
#pragma once

#include <optional>
#include <string>

// The value of `key` in the file's section, whole however long; none when
// the file, the section or the key is missing.
std::optional<std::string> ReadIniValue(const std::string& file, const std::string& section, const std::string& key);
