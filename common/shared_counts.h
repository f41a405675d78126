// The counts that installers keep of the products using each shared file,
// so that the last one to go may delete it: one REG_DWORD per file below
// HKEY_LOCAL_MACHINE, named by the file's full path.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

inline constexpr char kSharedCountsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The count kept for `path` in the opened counts key; nothing when there is
// none, or when the value is no number.
std::optional<DWORD> ReadSharedCount(HKEY counts, const std::string& path);
bool WriteSharedCount(HKEY counts, const std::string& path, DWORD count);
