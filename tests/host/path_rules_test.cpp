#include <gtest/gtest.h>

#include <optional>
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

TEST(DeletionRules, AFileAPatternOrAFolderWithEverythingInIt)
{
    const auto target = [](const char* path) {
        const std::optional<DeletionTarget> read = ReadDeletionTarget(path);
        return read ? std::to_string(static_cast<int>(read->form)) + " " + read->folder + " " + read->name
                    : std::string("none");
    };
    EXPECT_EQ(target("C:\\Users\\me\\AppData\\Demo\\demo.ini"), "0 C:\\Users\\me\\AppData\\Demo demo.ini");
    EXPECT_EQ(target("C:\\Users\\me\\AppData\\Demo\\*.log"), "1 C:\\Users\\me\\AppData\\Demo *.log");
    EXPECT_EQ(target("C:\\Users\\me\\AppData\\Demo\\\\"), "2 C:\\Users\\me\\AppData\\Demo ");
    EXPECT_EQ(target("\\\\server\\share\\Demo\\"), "2 \\\\server\\share\\Demo ");
    EXPECT_EQ(target("C:\\demo.ini"), "0 C: demo.ini");
}

TEST(DeletionRules, RootsClimbingWildcardFoldersAndOddPathsNameNothing)
{
    for (const std::string& path : std::vector<std::string>{
             "", "demo.ini", "Demo\\", "C:\\", "C:", "C:\\\\", "C:/", "\\\\server\\share\\", "\\\\server\\share",
             "C:demo\\", "\\Demo\\", "\\\\?\\C:\\Demo\\", "C:\\Demo\\..\\", "C:\\Demo\\..\\..\\Windows\\",
             "C:\\Demo\\.", "C:\\Demo\\..", "C:\\*\\x.ini", "C:\\Demo*\\", "C:\\Demo\\*\\", "C:\\Demo\\a:b",
             "C:\\Demo\\*:x", "C:\\Demo\\a|*", "C:\\Demo\\x\r*", std::string("C:\\Demo\0\\", 8)})
        EXPECT_FALSE(ReadDeletionTarget(path)) << path;
}

TEST(DeletionRules, KeptFoldersAndProfileRootsStayButTheirSubfoldersMayGo)
{
    const std::vector<std::string> kept = {"C:\\WINDOWS", "C:\\Program Files\\", "C:\\Users\\me\\Documents"};
    const std::vector<std::string> profiles = {"C:\\Users"};
    for (const char* folder : {"C:\\windows", "c:\\program files", "C:\\\\Program Files\\\\", "C:\\Users\\me\\DOCUMENTS",
                               "C:\\Users", "C:\\Users\\other", "C:\\Users\\me", "D:", "\\\\server\\share"})
        EXPECT_TRUE(IsKeptFolder(folder, kept, profiles)) << folder;
    for (const char* folder : {"C:\\WINDOWS\\Demo", "C:\\Program Files\\Demo", "C:\\Users\\me\\Documents\\Demo",
                               "C:\\Users\\me\\AppData", "C:\\Windowsx", "D:\\Demo"})
        EXPECT_FALSE(IsKeptFolder(folder, kept, profiles)) << folder;
}
