// The splash window and the full-screen background window.
#pragma once

#include <windows.h>

struct SetupApp {
    HINSTANCE instance = nullptr;
    int screenWidth = 0;   // read once at start-up; the windows never follow changes
    int screenHeight = 0;
    HWND splash = nullptr;
    HWND background = nullptr;  // owner of every page and owned message box
};

extern SetupApp gApp;

extern const char kSplashClass[];
extern const char kBackgroundClass[];

// Registers the class (shared window procedure) and creates the window.
HWND CreateSetupWindow(const char* title, const char* className, HWND parent, DWORD style,
                       int x, int y, int width, int height);

// Unregisters both classes and releases COM, at the end of the run.
void ReleaseSetupWindows();

// Paints the background again at once, as SetBackground requires.
void RedrawBackground();
