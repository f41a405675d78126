// What an upgrade decides on its own: which version is newer, where the
// installed one lies, and which files of earlier versions a pattern may
// delete.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/text/obsolete_files.h"
#include "setup/install/text/upgrade.h"

TEST(Upgrade, DottedVersionsCompareAsNumbersPartByPart)
{
    EXPECT_GT(CompareVersions("1.10", "1.9"), 0);
    EXPECT_LT(CompareVersions("1.9", "1.10"), 0);
    EXPECT_EQ(CompareVersions("1.0", "1"), 0);
    EXPECT_EQ(CompareVersions("01.2", "1.02"), 0);
    EXPECT_GT(CompareVersions("2", "1.99.99"), 0);
    EXPECT_GT(CompareVersions("1.0.1", "1.0"), 0);
    EXPECT_EQ(CompareVersions("1.2 beta", "1.2"), 0) << "a part counts by its leading digits";
    EXPECT_GT(CompareVersions("1.100000000000000000000", "1.99999999999999999999"), 0) << "no overflow";
    EXPECT_LT(CompareVersions("", "0.1"), 0);
}

TEST(Upgrade, TheInstalledFolderIsThatOfTheUnskeinTheEntryStarts)
{
    EXPECT_EQ(InstalledFolderOf("\"D:\\Apps\\Ledger\\Unskein.exe\""), "D:\\Apps\\Ledger\\");
    EXPECT_EQ(InstalledFolderOf("C:\\LEDGER\\UNSKEIN.EXE"), "C:\\LEDGER\\");
    for (const char* other : {"\"C:\\Apps\\Ledger\\uninst.exe\" /S", "MsiExec.exe /X{1}", "Unskein.exe",
                              "\"C:\\Apps\\..\\Unskein.exe\"", ""})
        EXPECT_EQ(InstalledFolderOf(other), std::nullopt) << other;
}

TEST(ObsoleteFiles, FullPathsOutsideRootsAndSystemFoldersOnly)
{
    const GuardedFolders guarded{{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32"}, {"C:\\Program Files"}};
    const std::optional<ObsoletePattern> old = CheckObsoletePattern("D:\\Apps\\Ledger\\*.hlp", guarded);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->folder, "D:\\Apps\\Ledger\\");
    EXPECT_EQ(old->name, "*.hlp");
    EXPECT_TRUE(CheckObsoletePattern("C:\\Program Files\\Ledger\\old?.dll", guarded));
    for (const char* refused :
         {"Ledger\\old.dll", "\\Ledger\\old.dll", "C:old.dll", "C:\\*.*", "\\\\server\\share\\*", "C:\\Windows\\old.dll",
          "c:\\windows\\system32\\LEDGER.DLL", "C:\\Program Files\\*.*", "C:\\Apps\\*\\old.dll",
          "C:\\Apps\\..\\WINDOWS\\old.dll", "C:\\Apps\\Ledger\\", "\\\\?\\C:\\Apps\\old.dll"})
        EXPECT_FALSE(CheckObsoletePattern(refused, guarded)) << refused;
}
