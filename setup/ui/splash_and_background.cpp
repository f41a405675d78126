#include "setup/ui/splash_and_background.h"

#include <objbase.h>

#include <string>

#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"
#include "setup/ui/text/gradient.h"

SetupApp gApp;

const char kSplashClass[] = "SETUPSPLASHCLASS_HI_HOW_DO_YOU_DO";
const char kBackgroundClass[] = "SETUPMAINCLASS_HALLO_WIE_GEHTS";

namespace {

const char kSplashText[] = "Setup wizard is initializing";
const char kSplashNotice[] =
    "Copyright (C) 2026 The Tessel developers\n"
    "Tessel is a trademark of the Tessel developers";

void DrawCaption(HDC dc, const DisplaySettings& display)
{
    const std::string& caption = gVariables.Get("CAPTION");
    HFONT font = CreateFontA(-MulDiv(display.captionSize, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                             900, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, display.captionColor1);
    TextOutA(dc, display.caption1X, display.caption1Y, caption.c_str(), static_cast<int>(caption.size()));
    if (display.captionColor2 != display.captionColor1) {
        SetTextColor(dc, display.captionColor2);
        TextOutA(dc, display.caption2X, display.caption2Y, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, previous);
    DeleteObject(font);
}

// Renders off screen and copies in one blit, so nothing flickers.
void PaintBackground(HWND window)
{
    const DisplaySettings& display = gRecords.display;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, gApp.screenWidth, gApp.screenHeight);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);

    for (const GradientBand& band : ComputeGradient(gApp.screenHeight, display.topColor, display.bottomColor)) {
        HBRUSH brush = CreateSolidBrush(band.color);
        RECT rect = {0, band.top, gApp.screenWidth, band.bottom};
        FillRect(memory, &rect, brush);
        DeleteObject(brush);
    }
    DrawCaption(memory, display);

    BitBlt(dc, 0, 0, gApp.screenWidth, gApp.screenHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
    EndPaint(window, &paint);
    Sleep(static_cast<DWORD>(display.redrawWait));
}

// Moves `rect` so that it keeps its size and is centred on x = centerX.
void CenterHorizontally(RECT& rect, int centerX)
{
    const int width = rect.right - rect.left;
    rect.left = centerX - width / 2;
    rect.right = rect.left + width;
}

void PaintSplash(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect;
    GetClientRect(window, &rect);
    SetBkMode(dc, TRANSPARENT);

    DrawTextA(dc, kSplashText, -1, &rect, DT_CALCRECT);
    const int height = rect.bottom - rect.top;
    CenterHorizontally(rect, 200);
    rect.top = 100 - height / 2;
    rect.bottom = rect.top + height;
    DrawTextA(dc, kSplashText, -1, &rect, 0);

    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 0, TRUE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    rect.left = 0;
    DrawTextA(dc, kSplashNotice, -1, &rect, DT_CALCRECT | DT_CENTER);
    const int noticeHeight = rect.bottom - rect.top;
    CenterHorizontally(rect, 200);
    rect.bottom = 180;
    rect.top = rect.bottom - noticeHeight;
    DrawTextA(dc, kSplashNotice, -1, &rect, DT_CENTER);

    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
}

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == gApp.background && gApp.background) {
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        else if (message == WM_PAINT)
            PaintBackground(window);
    } else if (window == gApp.splash && gApp.splash && message == WM_PAINT) {
        PaintSplash(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateSetupWindow(const char* title, const char* className, HWND parent, DWORD style,
                       int x, int y, int width, int height)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SetupWindowProc;
    windowClass.hInstance = gApp.instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, className, title, style, x, y, width, height, parent, nullptr,
                           gApp.instance, nullptr);
}

void ReleaseSetupWindows()
{
    UnregisterClassA(kSplashClass, gApp.instance);
    UnregisterClassA(kBackgroundClass, gApp.instance);
    CoUninitialize();
}

void RedrawBackground()
{
    RedrawWindow(gApp.background, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
