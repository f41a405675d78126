#include "scriptcheck/platform_check.h"

#include <algorithm>

#include "scriptcheck/suggest.h"
#include "setup/model/text/platform.h"

namespace {

const std::vector<std::string> kPlatformNames = {"X64", "X86", "NT", "9X"};

// The machines a script may meet, as the platforms tell them apart.
struct Machine {
    MachineFacts facts;
    const char* name;
};

std::vector<Machine> Machines()
{
    return {{{false, false, ""}, "Windows 95, 98 and ME"},
            {{true, false, ""}, "32-bit Windows NT"},
            {{true, true, ""}, "64-bit Windows"}};
}

bool IsMandatory(const std::vector<SectionEntry>& sections, const std::string& name)
{
    return std::any_of(sections.begin(), sections.end(),
                       [&](const SectionEntry& s) { return s.name == name && s.mandatory != 0; });
}

// Whether a binding other than `bound` installs on `machine`.
bool OtherCovers(const std::vector<SectionBinding>& bindings, const SectionBinding& bound, const MachineFacts& machine)
{
    return std::any_of(bindings.begin(), bindings.end(), [&](const SectionBinding& other) {
        const std::optional<Platform> platform = PlatformNamed(other.platformName);
        return other.sectionName != bound.sectionName && platform && IsPlatformOf(*platform, machine);
    });
}

}  // namespace

bool CheckSectionBinding(const SectionBinding& binding, const std::vector<SectionEntry>& sections,
                         Diagnostics& diagnostics)
{
    std::vector<std::string> names;
    for (const SectionEntry& section : sections)
        names.push_back(section.name);
    const bool exists = std::find(names.begin(), names.end(), binding.sectionName) != names.end();
    if (!exists)
        diagnostics.Warning(binding.section, "no CreateSection before it creates the section " +
                                                 Quoted(binding.sectionName) + ": SetSectionPlatform binds nothing" +
                                                 DidYouMean(binding.sectionName, names));
    if (!PlatformNamed(binding.platformName))
        diagnostics.Warning(binding.platform, Quoted(binding.platformName) +
                                                  " is no platform (X64, X86, NT or 9X): setup ignores the call" +
                                                  DidYouMean(binding.platformName, kPlatformNames));
    return exists && PlatformNamed(binding.platformName);
}

void CheckPlatformCover(const std::vector<SectionBinding>& bindings, const std::vector<SectionEntry>& sections,
                        Diagnostics& diagnostics)
{
    for (const SectionBinding& bound : bindings) {
        const std::optional<Platform> platform = PlatformNamed(bound.platformName);
        if (!platform || !IsMandatory(sections, bound.sectionName))
            continue;
        std::string uncovered;
        for (const Machine& machine : Machines())
            if (!IsPlatformOf(*platform, machine.facts) && !OtherCovers(bindings, bound, machine.facts))
                uncovered += std::string(uncovered.empty() ? "" : ", ") + machine.name;
        if (!uncovered.empty())
            diagnostics.Warning(bound.platform, "the mandatory section " + Quoted(bound.sectionName) +
                                                    " is installed only on " + bound.platformName +
                                                    ", and no other section bound to a platform covers " +
                                                    uncovered + ": there the product lacks it");
    }
}
