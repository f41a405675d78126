// The checks of SetSectionPlatform: which section and platform a call
// names, and whether the sections bound to platforms leave some machine
// without a mandatory part.
#pragma once

#include <string>
#include <vector>

#include "scriptcheck/diagnostics.h"
#include "setup/model/text/records.h"

struct SectionBinding {
    Place section;   // where the section's name is written
    Place platform;  // where the platform's name is written
    std::string sectionName;
    std::string platformName;
};

// At the call: the section must exist by then and the platform be one of
// the four. Returns whether the call binds the section.
bool CheckSectionBinding(const SectionBinding& binding, const std::vector<SectionEntry>& sections,
                         Diagnostics& diagnostics);
// After the walk: a mandatory section bound to a platform needs other bound
// sections that cover the machines it leaves out.
void CheckPlatformCover(const std::vector<SectionBinding>& bindings, const std::vector<SectionEntry>& sections,
                        Diagnostics& diagnostics);
