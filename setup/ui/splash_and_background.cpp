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

// The caption's font at `height` (as CreateFontA takes it).
HFONT CreateCaptionFont(int height)
{
    return CreateFontA(height, 0, 0, 0, 900, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
}

int TextWidth(HDC dc, const std::string& text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Where the caption, drawn with `font` (selected into `dc`, `height` as
// CreateFontA took it), would run off the screen's right edge, selects a
// smaller one instead, so that the caption ends as far from that edge as it
// starts from the left one; `left` and `right` are where its leftmost and
// rightmost layers start. A caption the script places off the screen stays
// as it is.
void FitCaptionToScreen(HDC dc, const std::string& caption, int left, int right, int height, HFONT& font)
{
    const int room = gApp.screenWidth - (left > 0 ? left : 0) - right;
    int width = TextWidth(dc, caption);
    if (room <= 0 || width <= room)
        return;
    // Glyphs do not shrink exactly in proportion: a few steps down may follow.
    height = static_cast<int>(static_cast<int64_t>(height) * room / width);
    for (int step = 0; step < 8 && width > room && (height < -1 || height > 1); ++step) {
        HFONT smaller = CreateCaptionFont(height);
        SelectObject(dc, smaller);
        DeleteObject(font);
        font = smaller;
        width = TextWidth(dc, caption);
        height += height < 0 ? 1 : -1;
    }
}

void DrawCaption(HDC dc, const DisplaySettings& display)
{
    const std::string& caption = gVariables.Get("CAPTION");
    const int x1 = Scaled(display.caption1X), y1 = Scaled(display.caption1Y);
    const int x2 = Scaled(display.caption2X), y2 = Scaled(display.caption2Y);
    const bool twoLayers = display.captionColor2 != display.captionColor1;
    const int height = -MulDiv(display.captionSize, GetDeviceCaps(dc, LOGPIXELSY), 72);  // points stay points
    HFONT font = CreateCaptionFont(height);
    HGDIOBJ previous = SelectObject(dc, font);
    FitCaptionToScreen(dc, caption, twoLayers && x2 < x1 ? x2 : x1, twoLayers && x2 > x1 ? x2 : x1, height, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, display.captionColor1);
    TextOutA(dc, x1, y1, caption.c_str(), static_cast<int>(caption.size()));
    if (twoLayers) {
        SetTextColor(dc, display.captionColor2);
        TextOutA(dc, x2, y2, caption.c_str(), static_cast<int>(caption.size()));
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

    // Centred on the window's middle; the notice's last line ends 20 pixels above its bottom.
    const int centerX = Scaled(kSplashWidth / 2), centerY = Scaled(kSplashHeight / 2);
    DrawTextA(dc, kSplashText, -1, &rect, DT_CALCRECT);
    const int height = rect.bottom - rect.top;
    CenterHorizontally(rect, centerX);
    rect.top = centerY - height / 2;
    rect.bottom = rect.top + height;
    DrawTextA(dc, kSplashText, -1, &rect, 0);

    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 0, TRUE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    rect.left = 0;
    DrawTextA(dc, kSplashNotice, -1, &rect, DT_CALCRECT | DT_CENTER);
    const int noticeHeight = rect.bottom - rect.top;
    CenterHorizontally(rect, centerX);
    rect.bottom = Scaled(kSplashHeight - 20);
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
