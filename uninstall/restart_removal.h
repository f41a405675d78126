// Removing at the next start of Windows what a running program holds, so
// that no file stays behind where nothing removes it any more.
#pragma once

#include <windows.h>

// DeleteFileA, and for a file in use but Unskein's own: scheduled for the
// next start.
BOOL WINAPI DeleteFileNowOrAtRestart(LPCSTR path);
// RemoveDirectoryA, and for a folder that holds something scheduled:
// scheduled after it.
BOOL WINAPI RemoveDirectoryNowOrAtRestart(LPCSTR path);

// Whether anything was scheduled.
bool RemovalAwaitsRestart();
