#include "starter/progress_window.h"

#include <commctrl.h>

#include "common/screen_dpi.h"
#include "common/system_folder.h"

namespace {

const char kClassName[] = "TesselStarterProgress";
// Sizes in pixels of a 100 % screen.
constexpr int kWidth = 360, kHeight = 100;
constexpr int kMargin = 12, kTextHeight = 20, kBarTop = 38, kBarHeight = 18;
constexpr int kBarRange = 1000;
constexpr DWORD kUpdateMs = 40;
constexpr DWORD kShownAfterMs = 500;

// The bar is a common control; without the DLL the window shows its text alone.
bool InitProgressBar()
{
    const HMODULE controls = LoadSystemLibrary("comctl32.dll");
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init =
        controls ? reinterpret_cast<InitFunction>(GetProcAddress(controls, "InitCommonControlsEx")) : nullptr;
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    return init && init(&classes);
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The work cannot be interrupted halfway without leaving files behind.
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void DeliverMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

ProgressWindow::ProgressWindow(HINSTANCE instance, uint64_t total)
    : instance_(instance), started_(GetTickCount()), total_(total ? total : 1)
{
}

void ProgressWindow::Create()
{
    HINSTANCE instance = instance_;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProgressWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_WAIT);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    const int dpi = ScreenDpi();
    const int width = ScaleToDpi(kWidth, dpi), height = ScaleToDpi(kHeight, dpi);
    const int margin = ScaleToDpi(kMargin, dpi);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, "Setup", WS_POPUP | WS_CAPTION | WS_VISIBLE, x, y,
                              width, height, nullptr, nullptr, instance, nullptr);
    if (!window_)
        return;
    RECT client;
    GetClientRect(window_, &client);
    const HWND text = CreateWindowExA(0, "STATIC", "Preparing the installation...", WS_CHILD | WS_VISIBLE, margin,
                                      margin, client.right - 2 * margin, ScaleToDpi(kTextHeight, dpi), window_,
                                      nullptr, instance, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    if (InitProgressBar()) {
        bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, margin, ScaleToDpi(kBarTop, dpi),
                               client.right - 2 * margin, ScaleToDpi(kBarHeight, dpi), window_, nullptr, instance,
                               nullptr);
        SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, kBarRange));
    }
    UpdateWindow(window_);
    DeliverMessages();
}

ProgressWindow::~ProgressWindow()
{
    if (!window_)
        return;
    DestroyWindow(window_);
    DeliverMessages();
}

void ProgressWindow::Show(uint64_t done)
{
    const DWORD now = GetTickCount();
    if (!created_) {
        if (now - started_ < kShownAfterMs)
            return;
        created_ = true;
        Create();
    }
    if (now - lastUpdate_ < kUpdateMs && done < total_)
        return;
    lastUpdate_ = now;
    if (bar_)
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(done / (total_ / kBarRange + 1)), 0);
    DeliverMessages();
}
