// Shortcuts that another installation has taken over since: a later one
// that uses the same program group writes its shortcuts over ours, and
// they are no longer ours to delete.
#pragma once

#include <string>
#include <vector>

#include "common/text/uninstall_log_reader.h"

// Drops from `files` every shortcut (".lnk") that points to none of this
// installation's things: neither a file the log lists, nor a path inside
// `installFolder`, nor the target that the log's LINK record gives for it.
// A file that does not load as a shell link, or names no target, tells
// nothing and stays listed.
void DropTakenOverShortcuts(std::vector<std::string>& files, const UninstallLog& log,
                            const std::string& installFolder);
