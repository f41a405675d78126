// The machine setup runs on, as far as scripts may ask about it: which
// Windows family and width, and where 64-bit programs belong.
#pragma once

#include <optional>
#include <string>

#include "setup/model/text/records.h"

struct MachineFacts {
    bool nt = false;
    bool windows64 = false;           // 64-bit Windows, under which this 32-bit program runs
    std::string programFiles64Base;   // the 64-bit ProgramFilesDir and "\"; empty but on 64-bit Windows
};

extern MachineFacts gMachine;

// What a SetSectionPlatform argument names.
enum class Platform { kX64, kX86, kNT, k9X };
std::optional<Platform> PlatformNamed(const std::string& name);
bool IsPlatformOf(Platform platform, const MachineFacts& machine);

// Whether the installation uses the 64-bit folders and registry view:
// asked for by SetInstall64 and on 64-bit Windows.
bool Uses64BitSystem(const InstallationRecords& records, const MachineFacts& machine);

// The program files base that DP is built from.
const std::string& ProgramFilesBaseFor(const InstallationRecords& records, const MachineFacts& machine,
                                       const std::string& programFilesBase);

// Drops the sections named `name` when `platform` is not this machine's:
// they are neither shown nor installed. False for a platform name that is
// none of the four; nothing changes then.
bool BindSectionToPlatform(InstallationRecords& records, const std::string& name, const std::string& platform,
                           const MachineFacts& machine);

// The built-in variable that tells texts whether Windows is 64-bit: "1" or "0".
inline constexpr char kWindows64Variable[] = "WIN64";
