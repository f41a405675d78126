// AddFolder: a folder tree found when the command runs, and its folders
// made with their section, empty ones too, each new one logged so that
// Unskein removes it.
#pragma once

#include <optional>
#include <string>

#include "setup/install/prompter.h"
#include "setup/model/text/records.h"

// The folders below `source` and the files whose names match `pattern`: from
// the package's index where a starter left that folder in its package,
// otherwise from the disk; nothing when there is no such folder. Names that
// begin with a dot are left out, as AddFile leaves them out.
std::optional<FoundTree> FindFolderTree(const std::string& source, const std::string& pattern);

// Makes the AddFolder folders of the section, parents first, before its
// files; a folder that cannot be made is told, and its files then tell
// their own failure.
void MakeSectionFolders(const std::string& sectionName, Prompter& prompter);
