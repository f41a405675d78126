#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/text/path_rules.h"

using Paths = std::vector<std::string>;

TEST(PathRules, PathsSetupWritesAreFullAndPlain)
{
    for (const char* path : {"C:\\Program Files\\Demo\\", "C:\\PROGRA~1\\DEMO\\READ.ME", "c:/games/tiles/a b.txt",
                             "D:\\Games\\\\Tiles\\...data", "\\\\server\\share\\Demo\\app.exe", "\\\\server\\share",
                             "C:\\Menu\\Demo\\Tile\xB4s.lnk"})
        EXPECT_TRUE(IsFullPlainPath(path)) << path;
}

TEST(PathRules, RelativeDeviceClimbingAndOddPathsAreRefused)
{
    for (const std::string& path : std::vector<std::string>{
             "", "readme.txt", "Demo\\readme.txt", "..\\..\\Windows\\win.ini", "C:readme.txt", "\\Windows\\win.ini",
             "\\\\?\\C:\\Windows\\win.ini", "\\\\.\\C:\\Windows\\win.ini", "//?/C:/Windows/win.ini",
             "\\\\?\\UNC\\server\\share\\x", "\\\\.\\PhysicalDrive0", "\\??\\C:\\Windows\\win.ini", "\\\\server",
             "\\\\server\\", "\\\\\\server\\share\\x", "C:\\Demo\\..\\Windows\\win.ini", "C:\\Demo\\.\\x",
             "C:\\Demo\\..", "C:\\Demo/../x", "C:\\Demo\\ .. \\x", "C:\\Demo\\...\\x", "C:\\Demo\\x.txt:stream",
             "C:\\Windows\\win.ini::$DATA", "C:\\Demo\\*.*", "C:\\Demo\\a?", "C:\\Demo\\a|b", "C:\\Demo\\a\rb",
             std::string("C:\\Windows\0junk", 15), "1:\\x"})
        EXPECT_FALSE(IsFullPlainPath(path)) << path;
}

TEST(PathRules, FoldersBetweenTheInstallationFolderAndAPath)
{
    EXPECT_EQ(FoldersBetween("C:\\GAMES\\TILES\\", "c:\\games\\tiles\\Data\\\\Sub\\x.txt"),
              (Paths{"c:\\games\\tiles\\Data", "c:\\games\\tiles\\Data\\\\Sub"}));
    EXPECT_EQ(FoldersBetween("C:\\GAMES\\TILES", "C:\\GAMES\\TILES\\Data\\"), Paths{});
    for (const char* elsewhere : {"C:\\GAMES\\TILES", "C:\\GAMES\\TILESET\\x", "C:\\GAMES\\x", "D:\\GAMES\\TILES\\x"})
        EXPECT_EQ(FoldersBetween("C:\\GAMES\\TILES", elsewhere), Paths{}) << elsewhere;
}

TEST(PathRules, OneSkippedRecordIsToldInTheSingular)
{
    EXPECT_EQ(SkippedRecordsText(1), "Skipped 1 entry of the log file that is not a full path or lies behind a linked folder.");
}
