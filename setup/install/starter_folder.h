// The starter's folder under TEMP, with what it unpacked there: the starter
// removes it once setup has ended. When the starter ended first (someone
// ended it), setup removes it instead.
#pragma once

// Setup's last step. A running program cannot delete its own file, so a
// hidden command processor waits until setup has ended and removes the
// folder, then its own batch file. Nothing when setup runs without a
// starter or the starter still runs.
void RemoveFolderOfEndedStarter();
