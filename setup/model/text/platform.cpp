#include "setup/model/text/platform.h"

#include <algorithm>

MachineFacts gMachine;

std::optional<Platform> PlatformNamed(const std::string& name)
{
    if (name == "X64")
        return Platform::kX64;
    if (name == "X86")
        return Platform::kX86;
    if (name == "NT")
        return Platform::kNT;
    if (name == "9X")
        return Platform::k9X;
    return std::nullopt;
}

bool IsPlatformOf(Platform platform, const MachineFacts& machine)
{
    switch (platform) {
    case Platform::kX64: return machine.windows64;
    case Platform::kX86: return !machine.windows64;
    case Platform::kNT: return machine.nt;
    case Platform::k9X: return !machine.nt;
    }
    return false;
}

bool Uses64BitSystem(const InstallationRecords& records, const MachineFacts& machine)
{
    return records.install64 && machine.windows64 && !machine.programFiles64Base.empty();
}

const std::string& ProgramFilesBaseFor(const InstallationRecords& records, const MachineFacts& machine,
                                       const std::string& programFilesBase)
{
    return Uses64BitSystem(records, machine) ? machine.programFiles64Base : programFilesBase;
}

bool BindSectionToPlatform(InstallationRecords& records, const std::string& name, const std::string& platform,
                           const MachineFacts& machine)
{
    const std::optional<Platform> named = PlatformNamed(platform);
    if (!named)
        return false;
    if (!IsPlatformOf(*named, machine))
        records.sections.erase(std::remove_if(records.sections.begin(), records.sections.end(),
                                              [&](const SectionEntry& section) { return section.name == name; }),
                               records.sections.end());
    return true;
}
