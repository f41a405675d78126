// Setup's own folder for the files it makes on the way, such as the joined
// files of spread files: under the Windows TEMP folder, which every user may
// write to, with a name nobody can predict, so that no one can put a file
// where setup will look for its own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The folder, made on the first call; nothing when it cannot be made (the
// system's error is then the last error).
std::optional<std::string> SetupTemporaryFolder();

// Creates a file in the folder that did not exist before (CREATE_NEW), open
// for writing by setup alone, and notes it for removal. `name` is tried
// first, then numbered variants of it, since a name may be taken already.
// An invalid handle when it cannot be created (the last error says why).
HANDLE CreateTemporaryFile(const std::string& name, std::string& path);

// Deletes the files setup made in the folder, and the folder. Nothing else
// is touched: a file someone else put there keeps the folder.
void RemoveSetupTemporaryFolder();
