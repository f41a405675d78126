// The background gradient's bands.
#include <gtest/gtest.h>

#include "setup/ui/text/gradient.h"

TEST(Gradient, RunsFromTopToBottomColourOverTheScreen)
{
    const auto bands = ComputeGradient(768, {0, 0, 255}, {0, 0, 0});
    EXPECT_EQ(bands[0].color, 0x00FF0000u);  // blue, as a COLORREF
    EXPECT_EQ(bands[255].color, 0u);
    EXPECT_EQ(bands[0].top, 0);
    EXPECT_EQ(bands[0].bottom, 3);
    EXPECT_EQ(bands[255].top, 765);
    EXPECT_EQ(bands[255].bottom, 768);
    for (int i = 1; i < kGradientBands; ++i)
        EXPECT_LE((bands[i].color >> 16) & 0xFF, (bands[i - 1].color >> 16) & 0xFF) << i;
}

TEST(Gradient, EqualColoursFillTheScreenAndOutOfRangeValuesWrap)
{
    for (const GradientBand& band : ComputeGradient(600, {10, 20, 30}, {10, 20, 30}))
        EXPECT_EQ(band.color, 0x001E140Au);
    const auto wrapped = ComputeGradient(600, {256, -1, 0}, {256, -1, 0});
    EXPECT_EQ(wrapped[0].color, 0x0000FF00u);  // 256 paints as 0, -1 as 255
    const auto extreme = ComputeGradient(600, {INT32_MIN, 0, 0}, {INT32_MAX, 0, 0});
    EXPECT_EQ(extreme[0].color & 0xFF, 0u);
}
