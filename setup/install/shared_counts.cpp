#include "setup/install/shared_counts.h"

#include "common/handles.h"
#include "common/shared_counts.h"
#include "common/windows64.h"

void CountSharedFile(const std::string& path, bool wasThere)
{
    RegistryKey counts;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedCountsKey, 0, nullptr, 0,
                        RegistryAccess(KEY_QUERY_VALUE | KEY_SET_VALUE, IsInstallation64()),
                        nullptr, counts.out(), nullptr) != ERROR_SUCCESS)
        return;
    const std::optional<DWORD> count = ReadSharedCount(counts.get(), path);
    if (count && *count == MAXDWORD)
        return;
    WriteSharedCount(counts.get(), path, count ? *count + 1 : wasThere ? 2 : 1);
}
