// The welcome page: the script's title and texts beside the picture. Serial: it
// reads the page's pixels off the one screen, where another test's setup may
// put its full-screen background.
#include <gtest/gtest.h>

#include <cstring>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

constexpr int kPictureWidth = 191;
constexpr int kPictureHeight = 163;

// The picture as setup.exe carries it, row by row from the top.
std::vector<COLORREF> PictureInSetup()
{
    std::vector<COLORREF> pixels;
    HMODULE setup = LoadLibraryExA(SetupProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = FindResourceA(setup, MAKEINTRESOURCEA(IDB_WELCOME_PICTURE), MAKEINTRESOURCEA(2));
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(setup, resource)));
    if (data) {
        const BYTE* rows = data + sizeof(BITMAPINFOHEADER);
        const int stride = (kPictureWidth * 3 + 3) & ~3;
        for (int y = 0; y < kPictureHeight; ++y) {
            const BYTE* bgr = rows + (kPictureHeight - 1 - y) * stride;  // stored bottom-up
            for (int x = 0; x < kPictureWidth; ++x)
                pixels.push_back(RGB(bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x]));
        }
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
