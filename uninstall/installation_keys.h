// Deleting the installation's keys in the registry view it used.
#pragma once

#include <windows.h>

#include <string>

// Deletes a key (without subkeys) below `parent` in the installation's
// view; the call that takes a view is looked up, only 64-bit Windows has it.
LONG DeleteInstallationKey(HKEY parent, const std::string& subkey);
