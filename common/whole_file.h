// Files read and written whole through the system's calls. The shipped
// programs use these instead of the C++ runtime's file streams, which would
// bring in the runtime's locale machinery and functions that Windows 95, 98
// and ME lack.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/handles.h"

// The size of an open file; nothing when the system cannot tell it (not a
// disk file).
std::optional<uint64_t> OpenFileSize(HANDLE file);

// The file's bytes as stored; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Creates or truncates the file for writing. Others may read it meanwhile.
HANDLE CreateFileForWriting(const std::string& path);

// Writes all of `bytes` at the file's current position; false when the
// system wrote less.
bool WriteAll(HANDLE file, std::string_view bytes);

// Creates or truncates the file and writes `bytes`; false on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Replaces the existing file's content with `bytes` so that it is either
// wholly old or wholly new: a full disk or a file that others hold open
// leaves it as it was. False when it was left so.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes);
