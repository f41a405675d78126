// Self-registration of 64-bit libraries, which these 32-bit programs cannot
// load: the 64-bit regsvr32 of the system folder registers them silently.
#pragma once

#include <string>


// What the registration found out: none when the file is no library that
// loads, or the registering program could not be run.
enum class ServerOutcome { kRegistered, kNotRegistrable, kFailed, kNotModule };

// Runs the system folder's regsvr32 /s (with `unregister`, /u /s) on
// `path`; the file system redirection must be off, so that the 64-bit
// regsvr32 is the one started.
ServerOutcome RegisterWith64BitServer(const std::string& path, bool unregister = false);
