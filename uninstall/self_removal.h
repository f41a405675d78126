// Unskein cannot delete its own file while it runs, nor the folder that
// holds it. With a clean uninstall it leaves that to a copy of itself in
// TEMP: the second stage waits for the first to end, then removes the
// program, the log, the installation folder and the folders above it that
// setup made, each once empty, and goes itself when it ends (deleted on
// close on Windows NT, through Wininit.ini at the next start on Windows
// 95, 98 and ME).
#pragma once

#include <string>

// Whether this run is the second stage, by its command line (the part
// after the program's name).
bool IsSelfRemovalStage(const char* commandLine);

// The second stage. The command line tells it only which Unskein to wait
// for and where that lies: it removes nothing unless that folder's log
// asks for a clean uninstall and names that program as one of its files.
int RunSelfRemovalStage(const char* commandLine);

// Starts the second stage for the Unskein at `programPath` (this program);
// false when it could not be started, and the folder then stays.
bool StartSelfRemoval(const std::string& programPath);
