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
