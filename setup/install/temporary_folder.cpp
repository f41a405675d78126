#include "setup/install/temporary_folder.h"

#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/text/install_paths.h"
#include "setup/system/unpredictable.h"

namespace {

// A name is taken only when someone guessed it, or by an earlier file of
// the same name: a few tries are plenty.
constexpr int kNameAttempts = 16;

std::string FolderName()
{
    const char digits[] = "0123456789ABCDEF";
    std::string name = "Tessel-";
    const uint64_t number = UnpredictableNumber();
    for (int shift = 60; shift >= 0; shift -= 4)
        name += digits[(number >> shift) & 0xF];
    return name;
}

}  // namespace

std::optional<std::string> SetupTemporaryFolder()
{
    if (!gInstall.temporaryFolder.empty())
        return gInstall.temporaryFolder;
    EnsureWindowsTempDirectory();
    const std::string temp = WindowsDirectory().path + "\\TEMP\\";
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string folder = temp + FolderName();
        // Fails when the folder exists: one made by someone else is never used.
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            gInstall.temporaryFolder = folder;
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

HANDLE CreateTemporaryFile(const std::string& name, std::string& path)
{
    const std::optional<std::string> folder = SetupTemporaryFolder();
    if (!folder)
        return INVALID_HANDLE_VALUE;
    for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
        path = *folder + "\\" + NumberedName(name, attempt);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            gInstall.temporaryFiles.push_back(path);
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

void RemoveSetupTemporaryFolder()
{
    for (const std::string& file : gInstall.temporaryFiles)
        DeleteFileA(file.c_str());
    gInstall.temporaryFiles.clear();
    if (!gInstall.temporaryFolder.empty())
        RemoveDirectoryA(gInstall.temporaryFolder.c_str());
    gInstall.temporaryFolder.clear();
}
