// The screen's dots per inch, as the system tells a program whose manifest
// says that it follows the display scaling (on Windows 95 to XP: 96, or 120
// with large fonts).
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/text/screen_scale.h"

inline int32_t ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}
