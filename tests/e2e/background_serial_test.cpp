// The background window as it shows on the screen: gradient and caption.
// Runs alone, since every running setup covers the whole screen.
#include <gtest/gtest.h>

#include <set>

#include "tests/e2e/driver/driver.h"

using namespace e2e;

namespace {

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
}

// The colours found in a rectangle of the screen, sampled every other pixel.
std::set<COLORREF> ColorsIn(int left, int top, int right, int bottom)
{
    std::set<COLORREF> colors;
    HDC screen = GetDC(nullptr);
    for (int y = top; y < bottom; y += 2)
        for (int x = left; x < right; x += 2)
            colors.insert(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return colors;
}

// Shows the background of `script` and holds it with a message box, so the
// screen can be sampled; `check` looks at it.
template <typename Check>
void WithBackgroundOf(const std::string& script, Check check)
{
    Medium medium;
    medium.WriteScript(script + "\nShowMessage(\"sampling\",\"Hold\",\"\",\"NOW\");");
    SetupRun setup(medium);
    const MessageBoxSeen hold = setup.NextMessageBox();
    ASSERT_EQ(hold.caption, "Hold");
    check();
    setup.Press(hold.window, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

const int kWidth = GetSystemMetrics(SM_CXSCREEN);
const int kHeight = GetSystemMetrics(SM_CYSCREEN);

}  // namespace

TEST(Background, DefaultsRunFromBlueToBlackWithoutACaption)
{
    WithBackgroundOf("", [] {
        EXPECT_EQ(ScreenPixel(kWidth - 5, 1), RGB(0, 0, 255));
        EXPECT_EQ(ScreenPixel(kWidth - 5, kHeight - 1), RGB(0, 0, 0));
        const COLORREF middle = ScreenPixel(kWidth - 5, kHeight / 2);
        EXPECT_EQ(GetRValue(middle), 0);
        EXPECT_GT(GetBValue(middle), 100);
        EXPECT_LT(GetBValue(middle), 155);
        // No caption: only shades of blue where it would be.
        for (COLORREF color : ColorsIn(30, 30, 400, 130))
            EXPECT_EQ(color & 0x00FFFF, 0u) << std::hex << color;
    });
}

TEST(Background, ScriptGradientAndBothCaptions)
{
    // SetCaption alone does not repaint; SetBackground does.
    WithBackgroundOf("SetCaption(\"MMMM\");\nSetBackground(\"255\",\"0\",\"0\",\"0\",\"255\",\"0\");", [] {
        EXPECT_EQ(ScreenPixel(kWidth - 5, 1), RGB(255, 0, 0));
        EXPECT_EQ(ScreenPixel(kWidth - 5, kHeight - 1), RGB(0, 255, 0));
        const std::set<COLORREF> caption = ColorsIn(30, 30, 400, 130);
        EXPECT_TRUE(caption.count(RGB(255, 255, 255))) << "the white caption at (30, 30)";
        EXPECT_TRUE(caption.count(RGB(0, 0, 0))) << "the black caption at (40, 40)";
    });
}

TEST(Background, EqualCaptionColoursDrawTheCaptionOnce)
{
    WithBackgroundOf("SetCaption(\"MMMM\");\n"
                     "SetCaptionColor(\"255\",\"255\",\"0\",\"255\",\"255\",\"0\");\n"
                     "SetCaptionPos(\"30\",\"30\",\"600\",\"600\");\n"
                     "SetBackground(\"0\",\"0\",\"0\",\"0\",\"0\",\"0\");",
                     [] {
                         EXPECT_TRUE(ColorsIn(30, 30, 400, 130).count(RGB(255, 255, 0)));
                         // The second position stays empty.
                         EXPECT_EQ(ColorsIn(600, 600, 900, 700), std::set<COLORREF>{RGB(0, 0, 0)});
                     });
}

TEST(Background, ACaptionTooWideForTheScreenIsDrawnSmallerToStayOnIt)
{
    WithBackgroundOf("SetCaption(\"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM\");\n"
                     "SetBackground(\"0\",\"0\",\"0\",\"0\",\"0\",\"0\");",
                     [] {
                         EXPECT_TRUE(ColorsIn(30, 30, 400, 130).count(RGB(255, 255, 255)));
                         // It ends as far from the right edge as it starts from the left one.
                         EXPECT_EQ(ColorsIn(kWidth - 30, 0, kWidth, kHeight / 2), std::set<COLORREF>{RGB(0, 0, 0)});
                     });
}
