#include "setup/install/uninstall_log.h"

#include <windows.h>

#include "setup/install/install_state.h"

bool OpenUninstallLog(const std::string& path)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return gInstall.log.Open(path, LogDate{now.wMonth, now.wDay, now.wYear});
}

void LogCreatedDirectories(const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories)
        gInstall.log.WriteDirectory(directory);
}
