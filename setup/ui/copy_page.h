// The copy page, which shows the installation run while it installs.
#pragma once

#include <windows.h>

INT_PTR ShowCopyPage();
