// Loading a library that setup installed, for its self-registration (setup)
// and its unregistration (Unskein).
#pragma once

#include <windows.h>

#include <string>

// The DLLs it imports are looked for in its own folder and the system's,
// never in the running program's folder or the current one.
HMODULE LoadInstalledLibrary(const std::string& path);
