#include "setup/install/folder_rights.h"

#include <windows.h>

#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/text/folder_rights.h"
#include "setup/system/system_libraries.h"

namespace {

std::string WithoutTrailingBackslashes(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

// The full path in its short form, so that two spellings of one folder
// ("..", 8.3 names) compare equal.
std::string ComparablePath(const std::string& path)
{
    std::string full = FullPath(path);
    if (full.empty())
        full = path;
    return WithoutTrailingBackslashes(ShortPath(full).value_or(full));
}

bool IsWithin(const std::string& path, const std::string& folder)
{
    if (folder.empty())
        return false;
    const std::string inner = ComparablePath(path);
    const std::string outer = ComparablePath(folder);
    return inner.size() >= outer.size() && (inner.size() == outer.size() || inner[outer.size()] == '\\') &&
           lstrcmpiA(inner.substr(0, outer.size()).c_str(), outer.c_str()) == 0;
}

bool RunsAsAdministrator()
{
    std::vector<uint8_t> administrators = AdministratorsSid();
    BOOL isMember = FALSE;
    if (sys::CheckTokenMembership(nullptr, administrators.data(), &isMember))
        return isMember != FALSE;
    // Windows NT 4.0 cannot tell; setup ran there as an administrator.
    return GetLastError() == ERROR_PROC_NOT_FOUND;
}

}  // namespace

void ProtectInstallFolder(const std::string& folder)
{
    if (!IsWindowsNt() || IsWithin(folder, gInstall.programFilesFolder) ||
        IsWithin(folder, WindowsDirectory().path) || !RunsAsAdministrator())
        return;
    std::vector<uint8_t> acl = InstallFolderAcl();
    std::string name = WithoutTrailingBackslashes(folder);
    const auto setRights = [&](SECURITY_INFORMATION what) {
        return sys::SetNamedSecurityInfoA(&name[0], SE_FILE_OBJECT, what, nullptr, nullptr,
                                          reinterpret_cast<PACL>(acl.data()), nullptr);
    };
    // Protected: the drive root's rights no longer flow in. Windows NT 4.0
    // knows no such flag, and inherits nothing after the fact anyway.
    if (setRights(DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION) == ERROR_INVALID_PARAMETER)
        setRights(DACL_SECURITY_INFORMATION);
}
