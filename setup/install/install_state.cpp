#include "setup/install/install_state.h"

InstallationState gInstall;
