// Libraries that register themselves: shared files that export
// DllRegisterServer, and the private libraries that RegisterLibrary names.
#pragma once

#include <windows.h>

#include <string>

#include "setup/install/prompter.h"
#include "setup/install/text/uninstall_log_writer.h"

// "Registration of <path> failed, setup will continue."
void TellRegistrationFailed(const std::string& path, Prompter& prompter);
// Calls the loaded library's DllRegisterServer, if it exports one; a failure
// is told with the library's `path` and setup goes on.
Registration CallRegisterServer(HMODULE module, const std::string& path, Prompter& prompter);

// Registers the section's RegisterLibrary libraries, in script order, each
// logged first so that Unskein unregisters it before its file goes.
void RegisterSectionLibraries(const std::string& sectionName, Prompter& prompter);
