#include <gtest/gtest.h>

#include "setup/system/text/disk_space.h"
#include "setup/ui/text/destination.h"

TEST(FreeSpace, RootIsTheFirstThreeCharacters)
{
    EXPECT_EQ(FreeSpaceRoot("C:\\Program Files\\App\\"), "C:\\");
    EXPECT_EQ(FreeSpaceRoot("D:\\"), "D:\\");
    // A network path yields no drive root, so its free space reads as 0.
    EXPECT_EQ(FreeSpaceRoot("\\\\server\\share\\App"), "\\\\s");
    EXPECT_EQ(FreeSpaceRoot("C:"), "");
    EXPECT_EQ(FreeSpaceRoot(""), "");
}

TEST(FreeSpace, ShownInWholeKilobytes)
{
    EXPECT_EQ(FreeSpaceText(1073741824), "1048576 kb");
    EXPECT_EQ(FreeSpaceText(0), "0 kb");
    EXPECT_EQ(FreeSpaceText(1023), "0 kb");
    EXPECT_EQ(FreeSpaceText(5'000'000'000'000ull), "4882812500 kb");
}

TEST(FreeSpace, ClusterFiguresDoNotWrapAbove4Gigabytes)
{
    EXPECT_EQ(ClusterFreeBytes(8, 512, 1000), 4096000u);
    EXPECT_EQ(ClusterFreeBytes(64, 512, 200000), 6553600000u);
    EXPECT_EQ(ClusterFreeBytes(0xFFFFFFFF, 0xFFFFFFFF, 1), 0xFFFFFFFE00000001u);
}

TEST(DestinationPath, NextNeedsThreeCharacters)
{
    EXPECT_EQ(NextGateForPath(""), 0);
    EXPECT_EQ(NextGateForPath("C:"), 0);
    EXPECT_EQ(NextGateForPath("C:\\"), 1);
    EXPECT_EQ(NextGateForPath("abc"), 1);
}

TEST(DestinationPath, ChosenFolderGetsTheApplicationName)
{
    EXPECT_EQ(ChosenInstallPath("C:\\Tools", "App"), "C:\\Tools\\App\\");
    // The shell gives a drive root with its backslash: the result has two.
    EXPECT_EQ(ChosenInstallPath("C:\\", "App"), "C:\\\\App\\");
    EXPECT_EQ(ChosenInstallPath("C:\\Tools", ""), "C:\\Tools\\\\");
    EXPECT_EQ(ChosenInstallPath("C:\\Tools", "TCP/IP Tiles"), "C:\\Tools\\TCPIP Tiles\\");
}

TEST(DestinationPath, LongestAcceptedPathHas259Characters)
{
    const std::string folder = "C:\\" + std::string(251, 'f');  // 254 characters
    EXPECT_EQ(ChosenInstallPath(folder, "App")->size(), 259u);
    EXPECT_EQ(ChosenInstallPath(folder, "Apps"), std::nullopt);
    EXPECT_EQ(ChosenInstallPath(folder, std::string(1000, 'a')), std::nullopt);
}

TEST(DestinationPath, OnlyAFullPathIsTaken)
{
    for (const char* full : {"C:\\", "d:\\Apps [old]\\", "\\\\server\\share\\App"})
        EXPECT_TRUE(IsFullPath(full)) << full;
    for (const char* relative : {"abc", "C:abc", "C:", "\\abc", "\\\\\\x", "1:\\x", ""})
        EXPECT_FALSE(IsFullPath(relative)) << relative;
}
