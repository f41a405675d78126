#include "setup/ui/pages.h"

#include <memory>
#include <type_traits>

#include "setup/model/text/variables.h"
#include "setup/ui/page_framework.h"
#include "setup/ui/resources/resource_ids.h"
#include "setup/ui/splash_and_background.h"

namespace {

const char kPageName[] = "DIALOG_WELCOME";
// Where the picture's top-left corner lies in the page's client area, on a
// 100 % screen.
constexpr int kPictureX = 6;
constexpr int kPictureY = 30;

struct BitmapDelete {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDelete>;

class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory context with one bitmap selected into it.
class MemoryContext {
public:
    MemoryContext(HDC compatibleWith, HBITMAP bitmap)
        : dc_(CreateCompatibleDC(compatibleWith)), previous_(SelectObject(dc_, bitmap))
    {
    }
    ~MemoryContext()
    {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

void ShowWelcomeTexts(HWND page)
{
    SetWindowTextA(page, gVariables.Get("WELCOMESTRING_CAP").c_str());
    SetDlgItemTextA(page, IDC_WELCOME_TEXT, gVariables.Get("WELCOMESTRING").c_str());
    SetDlgItemTextA(page, IDC_WELCOME_TEXT2, gVariables.Get("WELCOMESTRING2").c_str());
}

// The picture is loaded for each paint and drawn at its natural size on a
// 100 % screen; on others it grows with the page, smoothly. Windows 95, 98
// and ME know no smooth stretch; they repeat or drop pixels instead.
void PaintWelcomePicture(HWND page)
{
    const Bitmap picture(static_cast<HBITMAP>(LoadImageA(gApp.instance, MAKEINTRESOURCEA(IDB_WELCOME_PICTURE),
                                                         IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    const PaintSession paint(page);
    if (!picture)
        return;
    const MemoryContext memory(paint.dc(), picture.get());
    BITMAP size = {};
    GetObjectA(picture.get(), sizeof size, &size);
    const PageGrowth& growth = gPage.growth;
    const int x = growth.X(kPictureX), y = growth.Y(kPictureY);
    const int width = growth.X(kPictureX + size.bmWidth) - x, height = growth.Y(kPictureY + size.bmHeight) - y;
    if (width == size.bmWidth && height == size.bmHeight) {
        BitBlt(paint.dc(), x, y, width, height, memory.dc(), 0, 0, SRCCOPY);
        return;
    }
    if (SetStretchBltMode(paint.dc(), HALFTONE))
        SetBrushOrgEx(paint.dc(), 0, 0, nullptr);  // as the halftone pattern requires
    else
        SetStretchBltMode(paint.dc(), COLORONCOLOR);
    StretchBlt(paint.dc(), x, y, width, height, memory.dc(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandlePageMessage(page, message, wParam, lParam, kPageName);
    if (message == WM_INITDIALOG) {
        ShowWelcomeTexts(page);
        FocusOnOpen(page, IDC_PAGE_NEXT);
    }
    else if (message == WM_PAINT)
        PaintWelcomePicture(page);
    return FALSE;
}

}  // namespace

INT_PTR ShowWelcomePage()
{
    return RunPage(IDD_WELCOME_PAGE, WelcomePageProc);
}
