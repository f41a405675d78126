// The welcome page: the script's title and texts beside the picture. Serial: it
// reads the page's pixels off the one screen, where another test's setup may
// put its full-screen background.
#include <gtest/gtest.h>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

constexpr int kPictureWidth = 191;
constexpr int kPictureHeight = 163;

// The picture as setup.exe carries it, row by row from the top, as Windows
// reads it.
std::vector<COLORREF> PictureInSetup()
{
    std::vector<COLORREF> pixels;
    HMODULE setup = LoadLibraryExA(SetupProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(setup, MAKEINTRESOURCEA(IDB_WELCOME_PICTURE), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (picture) {
        BITMAPINFO format = TopDownPixelFormat(kPictureWidth, kPictureHeight);
        std::vector<RGBQUAD> rows(kPictureWidth * kPictureHeight);
        HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, picture, 0, kPictureHeight, rows.data(), &format, DIB_RGB_COLORS) == kPictureHeight)
            for (const RGBQUAD& pixel : rows)
                pixels.push_back(RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue));
        ReleaseDC(nullptr, screen);
        DeleteObject(picture);
    }
    if (setup)
        FreeLibrary(setup);
    return pixels;
}

}  // namespace

TEST(WelcomePage, ShowsTheScriptsTextsBesideThePicture)
{
    Medium medium;
    medium.WriteScript(
        "ShowWelcome()\n"
        "SetAppName(\"Tessel Demo\")\n"
        "SetWelcomeString(\"Welcome to [APPNAME].\",\"[APPNAME] Setup\")\n"
        "SetWelcomeString2(\"Press Next to go on.\")\n"
        "ShowWelcome()\n");
    SetupRun setup(medium);

    const Page unset = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_EQ(unset.Title(), "");
    EXPECT_EQ(unset.Text(IDC_WELCOME_TEXT), "");
    EXPECT_EQ(unset.Text(IDC_WELCOME_TEXT2), "");
    unset.Click(IDC_PAGE_NEXT);
    ASSERT_TRUE(unset.WaitUntilClosed());

    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);
    EXPECT_EQ(page.Title(), "Tessel Demo Setup");
    EXPECT_EQ(page.Text(IDC_WELCOME_TEXT), "Welcome to Tessel Demo.");
    EXPECT_EQ(page.Text(IDC_WELCOME_TEXT2), "Press Next to go on.");

    // The picture at its natural size with its corner at (6, 30), and the
    // page's own colour around it.
    const std::vector<COLORREF> picture = PictureInSetup();
    ASSERT_EQ(picture.size(), size_t{kPictureWidth * kPictureHeight});
    EXPECT_TRUE(WaitUntil([&] { return ClientPixels(page.window(), 6, 30, kPictureWidth, kPictureHeight) == picture; }))
        << "the page does not show the picture at (6, 30)";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ClientPixels(page.window(), 5, 30, 1, 1), std::vector<COLORREF>{face});
    EXPECT_EQ(ClientPixels(page.window(), 6, 29, 1, 1), std::vector<COLORREF>{face});
    EXPECT_EQ(ClientPixels(page.window(), 6 + kPictureWidth, 30 + kPictureHeight - 1, 1, 1),
              std::vector<COLORREF>{face});
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(WelcomePage, ARedrawWaitOfMinusOneDoesNotFreezeSetup)
{
    Medium medium;
    // SetBackground repaints at once, and waits after the repaint.
    medium.WriteScript("SetRedrawWait(\"-1\")\nSetBackground(\"0\",\"0\",\"0\",\"0\",\"0\",\"0\")\nShowWelcome()\n");
    SetupRun setup(medium);
    const Page page = setup.WaitForPage(IDC_WELCOME_TEXT);
    page.Click(IDC_PAGE_NEXT);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
