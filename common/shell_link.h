// Shell link files (shortcuts) through COM: setup writes them, Unskein
// reads where they point before it deletes them. The caller initialises COM.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/handles.h"

// The wide form that IPersistFile takes, in the ANSI code page the rest of
// the programs use; as long as the path is, so that a long one fails rather
// than naming another file by a cut name.
std::vector<wchar_t> WidePath(const std::string& path);

// The target a shell link file names, as stored; none when the file cannot
// be loaded as a shell link.
std::optional<std::string> ShortcutTarget(const std::string& linkPath);
