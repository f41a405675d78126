// The small window that the starter shows while it checks and unpacks its
// package, once that takes long enough to be seen, so that a person never
// looks at nothing for long. A quick check shows none: a window's first
// appearance costs more than checking a few hundred MB.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/text/payload.h"

class ProgressWindow {
public:
    // `total` is the work, in bytes; no window yet.
    ProgressWindow(HINSTANCE instance, uint64_t total);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The bar at `done` of the total, in a window shown once the work has
    // taken kShownAfterMs; delivers the window's messages.
    void Show(uint64_t done);

private:
    void Create();

    HINSTANCE instance_;
    DWORD started_;
    bool created_ = false;
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
