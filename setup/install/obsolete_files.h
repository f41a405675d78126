// DeleteOnInstall: the files of earlier versions that this one no longer
// needs, deleted when the copy page starts the installation.
#pragma once

// Deletes the files that each pattern of the script matches, once the
// pattern passes the safety rules (common/text/obsolete_files.h); a pattern
// that fails them deletes nothing. A file in use is deleted at the next restart.
// Folders are never deleted.
void DeleteObsoleteFiles();
