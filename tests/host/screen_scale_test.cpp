// Pixels of a 100 % screen on screens scaled up to 200 %.
#include <gtest/gtest.h>

#include "common/text/screen_scale.h"

TEST(ScreenScale, RoundsToTheNearestPixelAndNegativesAlike)
{
    EXPECT_EQ(ScaleToDpi(205, 96), 205);
    EXPECT_EQ(ScaleToDpi(205, 192), 410);
    EXPECT_EQ(ScaleToDpi(5, 144), 8);  // 7.5
    EXPECT_EQ(ScaleToDpi(-5, 144), -8);
    EXPECT_EQ(ScaleToDpi(6, 120), 8);  // 7.5
    EXPECT_EQ(ScaleToDpi(7, 120), 9);  // 8.75
    EXPECT_EQ(ScaleToDpi(-7, 120), -9);
    EXPECT_EQ(ScaleToDpi(1, 120), 1);  // 1.25
    EXPECT_EQ(ScaleToDpi(0, 192), 0);
    EXPECT_EQ(ScaleBy(205, 10, 7), 293);  // 292.86
    EXPECT_EQ(ScaleBy(7, 1, 2), 4);       // 3.5
    EXPECT_EQ(ScaleBy(-7, 1, 2), -4);
}

TEST(ScreenScale, LargeNumbersStayWithin32BitsAndAShareNotTold)
{
    EXPECT_EQ(ScaleToDpi(INT32_MAX, 96), INT32_MAX);
    EXPECT_EQ(ScaleToDpi(INT32_MAX, 192), INT32_MAX);
    EXPECT_EQ(ScaleToDpi(INT32_MIN, 192), INT32_MIN);
    EXPECT_EQ(ScaleToDpi(INT32_MIN, 96), INT32_MIN);
    EXPECT_EQ(ScaleToDpi(1000000000, 144), 1500000000);
    EXPECT_EQ(ScaleToDpi(-2000000000, 48), -1000000000);
    EXPECT_EQ(ScaleBy(INT32_MAX, INT32_MAX, 1), INT32_MAX);
    EXPECT_EQ(ScaleBy(INT32_MIN, INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(ScaleToDpi(123, 0), 123);
    EXPECT_EQ(ScaleToDpi(123, -96), 123);
    EXPECT_EQ(ScaleBy(123, 2, 0), 123);
}
