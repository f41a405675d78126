// The copy page, which carries out the installation.
#pragma once

#include <windows.h>

INT_PTR ShowCopyPage();
