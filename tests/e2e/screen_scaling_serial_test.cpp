// Setup on screens scaled to 100 %, 150 % and 200 % (96, 144 and 192 DPI):
// what the script and setup place in pixels of a 100 % screen keeps its
// place and size, scaled: on the screen by the DPI, on a page as the page
// grows with its font. Runs alone, since the DPI is that of every program in
// the prefix.
#include <gtest/gtest.h>

#include "common/text/screen_scale.h"
#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/common_controls.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

// Wine tells the programs started while the object lives this DPI.
class ScopedScreenDpi {
public:
    explicit ScopedScreenDpi(DWORD dpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~ScopedScreenDpi()
    {
        RegDeleteValueA(key_, "LogPixels");  // the prefix's own 96
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

RECT Scaled(RECT rect, int dpi)
{
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

// A page's dialog base units, read back from where its Next button lies
// (257, 170 in dialog units: 4 of them to a base unit across, 8 down).
SIZE BaseUnitsOf(const Page& page)
{
    const RECT next = RectInParent(page.Control(IDC_PAGE_NEXT));
    return {(next.left * 4 + 257 / 2) / 257, (next.top * 8 + 170 / 2) / 170};
}

// `rect` grown as the page has grown from `at100` to `now`.
RECT Grown(RECT rect, SIZE now, SIZE at100)
{
    return {ScaleBy(rect.left, now.cx, at100.cx), ScaleBy(rect.top, now.cy, at100.cy),
            ScaleBy(rect.right, now.cx, at100.cx), ScaleBy(rect.bottom, now.cy, at100.cy)};
}

void ExpectRect(const RECT& actual, const RECT& expected)
{
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

// The smallest rectangle, in the page's client area, that holds every pixel
// of `area` not in the page's own colour.
RECT DrawnIn(HWND page, const RECT& area)
{
    const int width = area.right - area.left;
    const std::vector<COLORREF> pixels = ClientPixels(page, area.left, area.top, width, area.bottom - area.top);
    RECT drawn = {area.right, area.bottom, area.left, area.top};
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] == GetSysColor(COLOR_BTNFACE))
            continue;
        const int x = area.left + static_cast<int>(i) % width, y = area.top + static_cast<int>(i) / width;
        drawn = {std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y), std::max<LONG>(drawn.right, x + 1),
                 std::max<LONG>(drawn.bottom, y + 1)};
    }
    return drawn;
}

}  // namespace

TEST(ScreenScaling, TheSplashThePictureAndTheScriptsControlsKeepTheir100PercentPlaces)
{
    Medium medium;
    medium.WriteScript(
        "AddWindow(\"DIALOG_WELCOME\",\"Licence\",\"BUTTON\",\"Read the licence\",\"0\",\"205\",\"230\",\"335\",\"255\")\n"
        "CreateSection(\"Core\",\"1\",\"0\",\"\")\n"
        "ShowWelcome()\nShowSections()\n");
    const RECT splash = {-200, -100, 200, 100};  // around the screen's middle
    const RECT picture = {6, 30, 6 + 191, 30 + 163};
    SIZE at100 = {};
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        const ScopedScreenDpi screen(dpi);
        SetupRun setup(medium);

        const HWND splashWindow = setup.WaitForWindowOfClass("SETUPSPLASHCLASS_HI_HOW_DO_YOU_DO");
        RECT splashRect = {};
        GetWindowRect(splashWindow, &splashRect);
        OffsetRect(&splashRect, -GetSystemMetrics(SM_CXSCREEN) / 2, -GetSystemMetrics(SM_CYSCREEN) / 2);
        ExpectRect(splashRect, Scaled(splash, dpi));

        const Page welcome = setup.WaitForPage(IDC_WELCOME_TEXT);
        const SIZE now = BaseUnitsOf(welcome);
        if (dpi == 96)
            at100 = now;
        else
            EXPECT_GT(now.cy, at100.cy) << "the page grows with its font";
        ExpectRect(RectInParent(welcome.CustomControl("Read the licence")), Grown({205, 230, 335, 255}, now, at100));
        // A page wider than the test's screen at 200 %: its left part in view.
        SetWindowPos(welcome.window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT grownPicture = Grown(picture, now, at100);
        const RECT around = {0, grownPicture.top - 8, grownPicture.right + 8, grownPicture.bottom + 8};
        EXPECT_TRUE(WaitUntil([&] { return DrawnIn(welcome.window(), around).right == grownPicture.right; }));
        ExpectRect(DrawnIn(welcome.window(), around), grownPicture);
        welcome.Click(IDC_PAGE_NEXT);

        const Page sections = setup.WaitForPage(IDC_SECTIONS_LIST);
        EXPECT_EQ(ListColumnWidth(sections.Control(IDC_SECTIONS_LIST), 0), ScaleBy(100, now.cx, at100.cx));
        sections.Click(IDC_PAGE_NEXT);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
}
