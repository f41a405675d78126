#include "common/windows64.h"

#include "common/system_folder.h"

namespace {

// GetCurrentProcess's pseudo-handle, which every Windows gives; taken as
// the value, so that the import list keeps its length.
const HANDLE kThisProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

bool gInstallation64 = false;

}  // namespace

void SetInstallation64(bool use64)
{
    gInstallation64 = use64;
}

bool IsInstallation64()
{
    return gInstallation64;
}

bool IsWindows64()
{
    using Query = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto query = reinterpret_cast<Query>(FindKernelFunction("IsWow64Process"));
    BOOL wow64 = FALSE;
    return query && query(kThisProcess, &wow64) && wow64;
}

FileRedirectionOff::FileRedirectionOff(bool use64)
{
    using Disable = BOOL(WINAPI*)(PVOID*);
    if (!use64)
        return;
    if (const auto disable = reinterpret_cast<Disable>(FindKernelFunction("Wow64DisableWow64FsRedirection")))
        off_ = disable(&old_) != FALSE;
}

FileRedirectionOff::~FileRedirectionOff()
{
    using Revert = BOOL(WINAPI*)(PVOID);
    if (!off_)
        return;
    if (const auto revert = reinterpret_cast<Revert>(FindKernelFunction("Wow64RevertWow64FsRedirection")))
        revert(old_);
}
