// Whether a program of a given file name is running, for ForbidProcess.
#pragma once

#include <windows.h>

#include <string>

// Called once per process (task 0) and, on Windows NT, once per 16-bit task
// of each virtual DOS machine. Returns FALSE to stop the walk.
using ProcessCallback = BOOL (*)(DWORD processId, WORD task, const char* executable, LPARAM value);

// Lower-cases `name` in place (the caller shows it so), then answers whether
// a running process or 16-bit task has that file name. A name with a
// directory, an empty name, or a system without the process-listing
// libraries: not running.
bool IsProcessRunning(std::string& name);

// Walks the running processes (and the 16-bit tasks on Windows NT) until
// the list ends or the callback returns FALSE. False when the platform's
// process-listing functions are missing or fail before the walk.
bool EnumerateProcesses(ProcessCallback callback, LPARAM value);

// The callback of IsProcessRunning: adds the name to the ProcessNameTable
// that `value` points to; always goes on.
BOOL CollectProcessName(DWORD processId, WORD task, const char* executable, LPARAM value);
