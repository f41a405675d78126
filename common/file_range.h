// A range of an open file, read through the system's calls: the starter
// and setup read the single-file package so.
#pragma once

#include <windows.h>

#include <cstdint>

// Exactly `size` bytes of the open file from `offset` on. False when the
// system fails, GetLastError telling why, and when the file ends first,
// with the error NO_ERROR.
bool ReadExactlyAt(HANDLE file, uint64_t offset, char* buffer, DWORD size);
