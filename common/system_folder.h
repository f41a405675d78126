// DLLs taken from the system folder only. The shipped programs usually start
// from a download folder or a medium, where anyone may have put a DLL beside
// them, and Windows looks there first for every DLL that is not a known DLL.
#pragma once

#include <windows.h>

// Takes the program's folder and the current folder out of the search for
// the DLLs that Windows loads later on the program's behalf, where Windows
// can: before anything else runs.
void KeepDllSearchInSystemFolder();

// A function of kernel32, which every program has loaded; null when this
// Windows lacks it.
FARPROC FindKernelFunction(const char* name);

// Loads a DLL by its full path in the system folder, or by name when the
// program's manifest sends it to the system's side-by-side store (the common
// controls version 6 from Windows XP on), which is looked at before any
// folder. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);
