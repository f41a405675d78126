#include "setup/install/uninstall_log.h"

#include <windows.h>

#include <memory>

#include "common/whole_file.h"
#include "setup/install/install_state.h"

namespace {

// The log's file; every record is written through to it at once.
class LogFile : public LogOutput {
public:
    explicit LogFile(HANDLE file) : file_(file) {}
    void Append(std::string_view bytes) override { WriteAll(file_.get(), bytes); }

private:
    OwnedHandle file_;
};

}  // namespace

bool OpenUninstallLog(const std::string& path)
{
    gInstall.log.Close();
    const HANDLE file = CreateFileForWriting(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    gInstall.log.Open(std::make_unique<LogFile>(file), LogDate{now.wMonth, now.wDay, now.wYear});
    return true;
}

void LogCreatedDirectories(const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories)
        gInstall.log.WriteDirectory(directory);
}
