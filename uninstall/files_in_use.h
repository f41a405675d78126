// Files that Unskein cannot delete now, found before it removes anything:
// removing the rest and the entry would leave them where nothing removes
// them any more.
#pragma once

#include <string>
#include <vector>

// Whether a running program holds the file (a program or a library it
// loaded, a document it keeps open).
bool IsInUse(const std::string& path);

// Until none of `files` (but `ownProgram`, which runs now) is in use or
// barred to this user, names them and offers Abort, Retry and Ignore.
// False on Abort: then nothing may be removed. Ignore goes on, and what is
// in use then waits for the next start of Windows.
bool ProceedWhenFilesAreFree(const std::vector<std::string>& files, const std::string& ownProgram);
