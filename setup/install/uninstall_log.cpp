#include "setup/install/uninstall_log.h"

#include <windows.h>

#include <memory>
#include <optional>

#include "common/handles.h"
#include "common/whole_file.h"
#include "setup/install/install_state.h"

namespace {

// The log's file; every record is written through to it at once.
class LogFile : public LogOutput {
public:
    explicit LogFile(HANDLE file) : file_(file) {}
    void WriteAt(uint64_t offset, std::string_view bytes) override
    {
        LONG high = static_cast<LONG>(offset >> 32);
        if (SetFilePointer(file_.get(), static_cast<LONG>(offset), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return;
        WriteAll(file_.get(), bytes);
    }
    void Flush() override { FlushFileBuffers(file_.get()); }

private:
    OwnedHandle file_;
};

// Whether the uninstall entry is there: without it, an earlier log of this
// product is what Unskein left behind after it removed the product.
bool EntryExists(const std::string& keyPath)
{
    RegistryKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

}  // namespace

bool OpenUninstallLog(const std::string& path, const std::string& keyPath)
{
    gInstall.log.Close();
    const std::optional<std::string> earlier = ReadWholeFile(path);
    const HANDLE file = CreateFileForWriting(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    gInstall.log.Open(std::make_unique<LogFile>(file), LogDate{now.wMonth, now.wDay, now.wYear},
                      earlier ? ReadEarlierLog(*earlier, keyPath, EntryExists(keyPath)) : EarlierLog{});
    return true;
}

void LogCreatedDirectories(const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories)
        gInstall.log.WriteDirectory(directory);
}
