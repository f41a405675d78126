// The rights of an installation folder that setup creates where Windows
// does not protect it already. Under a drive's root every authenticated
// user may change what a new folder holds, the uninstall log and the
// programs that an administrator will run among it.
#pragma once

#include <cstdint>
#include <vector>

// The folder's access control list, in the system's binary form: SYSTEM and
// the administrators have full control, the users read and execute; every
// entry is inherited by the files and folders inside.
std::vector<uint8_t> InstallFolderAcl();

// The SID of the local administrators (S-1-5-32-544), in the system's binary form.
std::vector<uint8_t> AdministratorsSid();
