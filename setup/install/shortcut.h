// Shortcut files in the program group.
#pragma once

#include <windows.h>

#include <string>

// Writes a shell link at `linkPath` that points to `targetPath`, with
// `description`. Returns the result of the last COM call made: S_OK when
// the link file was saved. COM is initialised by the program's start-up.
HRESULT CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description);
