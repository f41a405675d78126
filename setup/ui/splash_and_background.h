// The splash window and the full-screen background window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/text/screen_scale.h"

struct SetupApp {
    HINSTANCE instance = nullptr;
    int screenWidth = 0;   // read once at start-up; the windows never follow changes
    int screenHeight = 0;
    int32_t dpi = kBaseDpi;  // likewise: what the script gives in pixels is meant for 96
    HWND splash = nullptr;
    HWND background = nullptr;  // owner of every page and owned message box
};

extern SetupApp gApp;

// Pixels of a 100 % screen, such as the script gives them, on this screen.
inline int32_t Scaled(int32_t pixels)
{
    return ScaleToDpi(pixels, gApp.dpi);
}

extern const char kSplashClass[];
// The splash window's size on a 100 % screen.
constexpr int32_t kSplashWidth = 400;
constexpr int32_t kSplashHeight = 200;
extern const char kBackgroundClass[];

// Registers the class (shared window procedure) and creates the window.
HWND CreateSetupWindow(const char* title, const char* className, HWND parent, DWORD style,
                       int x, int y, int width, int height);

// Unregisters both classes and releases COM, at the end of the run.
void ReleaseSetupWindows();

// Paints the background again at once, as SetBackground requires.
void RedrawBackground();
