// The section's AddRegistry and AddIniValue entries, written after its
// files in script order, each logged before it is written.
#pragma once

#include <string>

#include "setup/install/prompter.h"

void WriteSectionRegistry(const std::string& sectionName, Prompter& prompter);
void WriteSectionIniValues(const std::string& sectionName, Prompter& prompter);
// Tells the shell once that file types changed, when a registry entry wrote among them.
void NotifyFileTypesChanged();
