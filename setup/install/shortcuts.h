// Every shortcut setup makes, in one place: the program group's of the file
// entries and the script's AddShortcut ones. Each is logged (NONSHARED, with
// the folders made for it as DIR, and an AddShortcut one also as LINK with
// its target) so that Unskein removes it.
#pragma once

#include <string>

#include "setup/install/prompter.h"
#include "setup/model/text/records.h"

// Makes PROGRAMGROUP a full path and ensures its folder. False when there is
// no group folder, so that no shortcut is tried in it.
bool PrepareProgramGroup(Prompter& prompter);

// The program group's shortcut of a file entry just installed at `installedPath`.
void CreateEntryShortcut(const FileEntry& entry, const std::string& installedPath);

// The AddShortcut entries of the section, in script order; those in the
// program group only when `groupReady` (the group page's choice and a
// group folder). Their texts are expanded here.
void CreateSectionShortcuts(const std::string& sectionName, bool groupReady);
