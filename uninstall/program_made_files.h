// The files that the installed program made itself (settings, logs,
// caches), which a script names with DeleteOnUninstall: Unskein deletes
// them after the installed files, under rules of their own, since they lie
// anywhere, often in the user's folders.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "uninstall/text/log_reader.h"

// The folders that never go themselves, nor lose their files through a
// pattern (see IsKeptFolder), as this system names them.
struct KeptFolders {
    std::vector<std::string> kept;
    std::vector<std::string> profileParents;
};
KeptFolders SystemKeptFolders();
// Whether `folder` is one of them, in its own or its short spelling.
bool IsKept(const std::string& folder, const KeptFolders& folders);

// Asks once, when a record asks, whether those files go too; No is the
// default. True when they go (or none asks).
bool ConfirmMadeFiles(const std::vector<ProgramMadeFiles>& madeFiles);

// Deletes what the records name, those that ask only with `askedToo`.
// Nothing is deleted through a kept folder, nor behind a folder that is a
// link (the user may have made one that leads anywhere); returns how many
// records were left for a link.
std::size_t RemoveMadeFiles(const std::vector<ProgramMadeFiles>& madeFiles, bool askedToo);
