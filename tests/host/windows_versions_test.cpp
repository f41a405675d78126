#include <gtest/gtest.h>

#include "setup/model/text/windows_versions.h"

namespace {

bool Reads(const std::string& text, int major, int minor)
{
    const std::optional<WindowsVersion> version = ReadWindowsVersion(text);
    return version && version->major == major && version->minor == minor;
}

}  // namespace

TEST(WindowsVersions, ReadMajorDotMinorAndNothingElse)
{
    EXPECT_TRUE(Reads("4.10", 4, 10));
    EXPECT_TRUE(Reads("10.0", 10, 0));
    EXPECT_TRUE(Reads("5", 5, 0));
    EXPECT_TRUE(Reads("0", 0, 0));
    for (const char* bad : {"", "4.1O", "XP", "5.1.2", "-1", "5.", ".1", " 5.1", "123456.0"})
        EXPECT_FALSE(ReadWindowsVersion(bad)) << bad;
}

TEST(WindowsVersions, CompareWithinTheFamilyAndNameWhatIsNeeded)
{
    const WindowsRequirement xp = ReadWindowsRequirement("0", "5.1");
    EXPECT_FALSE(IsSupported(xp, WindowsFamily::k9x, {4, 90}));
    EXPECT_FALSE(IsSupported(xp, WindowsFamily::kNt, {5, 0}));
    EXPECT_TRUE(IsSupported(xp, WindowsFamily::kNt, {5, 1}));
    EXPECT_TRUE(IsSupported(xp, WindowsFamily::kNt, {10, 0}));
    // 4.10 is minor 10, above 4.9 and below 4.90.
    const WindowsRequirement me = ReadWindowsRequirement("4.90", "typo");
    EXPECT_FALSE(IsSupported(me, WindowsFamily::k9x, {4, 10}));
    EXPECT_TRUE(IsSupported(me, WindowsFamily::k9x, {4, 90}));
    EXPECT_TRUE(IsSupported(me, WindowsFamily::kNt, {3, 51}));  // an unreadable version sets no limit

    EXPECT_EQ(UnsupportedWindowsText(ReadWindowsRequirement("4.10", "5.1")),
              "This program needs Windows 98 or later, or Windows XP or later. Setup cannot be continued.");
    EXPECT_EQ(UnsupportedWindowsText(ReadWindowsRequirement("4.20", "0")),
              "This program needs Windows 95 family version 4.20 or later. Setup cannot be continued.");
    EXPECT_EQ(UnsupportedWindowsText(ReadWindowsRequirement("0", "0")),
              "This program runs on no version of Windows. Setup cannot be continued.");
}
