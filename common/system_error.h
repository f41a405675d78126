// The system's own words for an error code.
#pragma once

#include <windows.h>

#include <string>

// The description as the system gives it, with its line end; empty when it
// has none.
std::string SystemErrorText(DWORD error);

// The same on one line, for the middle of a sentence; "Error N." when the
// system has no description.
std::string SystemErrorSentence(DWORD error);
