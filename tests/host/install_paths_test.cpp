#include <gtest/gtest.h>

#include <string>

#include "setup/install/text/install_paths.h"

namespace {

std::string Collapsed(std::string text)
{
    CollapseBackslashes(text);
    return text;
}

std::string Alias(std::string path)
{
    MakeShortAlias(path);
    return path;
}

}  // namespace

TEST(CollapseBackslashes, DoubledSeparatorsBecomeSingleAndLongerRunsHalve)
{
    EXPECT_EQ(Collapsed("C:\\App\\\\Tools\\App.exe"), "C:\\App\\Tools\\App.exe");
    EXPECT_EQ(Collapsed("C:\\a\\\\\\b"), "C:\\a\\\\b");      // 3 become 2
    EXPECT_EQ(Collapsed("C:\\a\\\\\\\\b"), "C:\\a\\\\b");    // 4 become 2
    EXPECT_EQ(Collapsed("C:\\App\\\\"), "C:\\App\\");
    EXPECT_EQ(Collapsed(""), "");
    EXPECT_EQ(Collapsed("\\"), "\\");
}

TEST(CollapseBackslashes, NetworkPathKeepsItsOpeningPair)
{
    EXPECT_EQ(Collapsed("\\\\server\\share\\\\App\\x.dll"), "\\\\server\\share\\App\\x.dll");
    EXPECT_EQ(Collapsed("\\\\"), "\\\\");
}

TEST(PathComponents, LastComponentAndParent)
{
    EXPECT_EQ(LastPathComponent("C:\\Program Files\\App\\DATA.PAK"), "DATA.PAK");
    EXPECT_EQ(LastPathComponent("DATA.PAK"), "DATA.PAK");
    EXPECT_EQ(LastPathComponent("C:\\App\\"), "");
    EXPECT_EQ(ParentDirectory("C:\\a\\b\\c"), "C:\\a\\b");
    EXPECT_EQ(ParentDirectory("C:\\a\\b\\"), "C:\\a");
    EXPECT_EQ(ParentDirectory("C:\\a"), "C:\\");
    EXPECT_EQ(ParentDirectory("C:\\"), "");
    EXPECT_EQ(ParentDirectory("relative"), "");
    EXPECT_EQ(ParentDirectory("\\top"), "\\");
    EXPECT_EQ(ParentDirectory("\\\\server\\share\\dir"), "\\\\server\\share");
}

TEST(MakeShortAlias, LongNamesBecomeSixCharactersAndTilde)
{
    EXPECT_EQ(Alias("C:\\WINDOWS\\SYSTEM\\MYLIBRARY32.DLL"), "C:\\WINDOWS\\SYSTEM\\MYLIBR~1");
    EXPECT_EQ(Alias("C:\\WINDOWS\\SYSTEM\\SHORTNAM.DLL"), "C:\\WINDOWS\\SYSTEM\\SHORTNAM");
    EXPECT_EQ(Alias("C:\\WINDOWS\\SYSTEM\\NINECHARS"), "C:\\WINDOWS\\SYSTEM\\NINECH~1");
    EXPECT_EQ(Alias("MYLIBRARY32.DLL"), "MYLIBR~1");
}

TEST(MakeShortAlias, DotsInDirectoriesDoNotCutThePath)
{
    EXPECT_EQ(Alias("C:\\My.Apps\\MYLIBRARY32.DLL"), "C:\\My.Apps\\MYLIBR~1");
    EXPECT_EQ(Alias("C:\\My.Apps\\A.B.C"), "C:\\My.Apps\\A");
}

TEST(TemporaryNames, JoinedFileIsNamedAfterTheDestinationAndNumberedWhenTaken)
{
    EXPECT_EQ(JoinedFileName("C:\\Program Files\\App\\DATA.PAK"), "DATA.PAK.ToInstall.TMP");
    EXPECT_EQ(NumberedName("DATA.PAK.ToInstall.TMP", 1), "DATA.PAK.ToInstall.TMP");
    EXPECT_EQ(NumberedName("DATA.PAK.ToInstall.TMP", 2), "DATA.PAK.ToInstall.2.TMP");
    EXPECT_EQ(NumberedName("README", 3), "README.3");
}

TEST(TemporaryNames, AliasRenameKeyKeepsTheDestinationsOwnExtension)
{
    EXPECT_EQ(AliasRenameKey("C:\\WINDOWS\\SYSTEM\\MYLIBRARY32.DLL"), "C:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL");
    EXPECT_EQ(AliasRenameKey("C:\\WINDOWS\\SYSTEM\\CONTROLPANEL.CPL"), "C:\\WINDOWS\\SYSTEM\\CONTRO~1.CPL");
    EXPECT_EQ(AliasRenameKey("C:\\WINDOWS\\SYSTEM\\SETTINGS.CONFIG"), "C:\\WINDOWS\\SYSTEM\\SETTINGS.CON");
    EXPECT_EQ(AliasRenameKey("C:\\WINDOWS\\SYSTEM\\NOEXTENSIONNAME"), "C:\\WINDOWS\\SYSTEM\\NOEXTE~1");
}

TEST(DiskPrompt, NamesTheDiskAsASignedNumber)
{
    EXPECT_EQ(DiskPromptText(2),
              "Please insert disk 2 in order to continue setup. If you inserted correct disk and this message "
              "appears again, setup script may be corrupt.");
    EXPECT_EQ(DiskPromptText(-3).substr(0, 22), "Please insert disk -3 ");
}
