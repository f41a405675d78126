// The rights of the installation folder on Windows NT.
#pragma once

#include <string>

// Gives the folder that setup has just created for the installation the
// rights that Program Files has (see InstallFolderAcl), so that no other
// user can change what an administrator installs or later removes there.
// Only on Windows NT, only when setup runs as an administrator (any other
// user would lock himself out of his own folder), and not below the Program
// Files or the Windows folder, whose rights hold already. A drive that keeps
// no rights (FAT) leaves the folder as it is.
void ProtectInstallFolder(const std::string& folder);

// Gives a file that was made elsewhere and has just got a name in its
// installation folder the rights that folder hands down, and none of its
// own: a file unpacked into the starter's private folder would otherwise
// stay the unpacking user's alone. True where it has them now, and on
// Windows 95, 98 and ME, which keep no rights.
bool TakeFolderRights(const std::string& path);
