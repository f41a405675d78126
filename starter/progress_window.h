// The small window that a large package shows while the starter checks and
// unpacks it, so that a person never looks at nothing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/text/payload.h"

class ProgressWindow {
public:
    // Shows the window at once; `total` is the work, in bytes.
    ProgressWindow(HINSTANCE instance, uint64_t total);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The bar at `done` of the total; delivers the window's messages.
    void Show(uint64_t done);

private:
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    uint64_t total_;
    DWORD lastUpdate_ = 0;
};

// Progress of one step that covers the bytes from `first` on.
class StepProgress : public payload::Progress {
public:
    StepProgress(ProgressWindow* window, uint64_t first) : window_(window), first_(first) {}
    bool Advance(uint64_t done) override
    {
        if (window_)
            window_->Show(first_ + done);
        return true;
    }

private:
    ProgressWindow* window_;
    uint64_t first_;
};
