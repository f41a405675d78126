// Folder names made from the application's name, which may hold characters
// that a file name cannot.
#pragma once

#include <string>

// The name `name` gives a folder: the characters Windows forbids in a file
// name (\ / : * ? " < > | and the control characters) are left out, and so
// are blanks and dots at its end, which Windows would drop. "TCP/IP Tiles"
// gives "TCPIP Tiles".
std::string FolderNameFor(const std::string& name);
