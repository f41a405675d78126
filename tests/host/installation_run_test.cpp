#include <gtest/gtest.h>

#include "setup/install/text/installation_run.h"
#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/variables.h"

namespace {

SectionEntry Section(const std::string& name, int32_t mandatory, int32_t selected)
{
    SectionEntry section;
    section.name = name;
    section.mandatory = mandatory;
    section.selected = selected;
    return section;
}

FileEntry FileOf(const std::string& section)
{
    FileEntry file;
    file.sectionName = section;
    return file;
}

}  // namespace

TEST(InstallationRun, ChosenSectionsAreMandatoryOnesWhateverTheirNumberAndSelectedOnes)
{
    const std::vector<SectionEntry> sections = {Section("Core", 1, 0), Section("Extra", 0, 0),
                                                Section("Docs", 0, 1), Section("Always", 2, 0),
                                                Section("Odd", -1, 0)};
    EXPECT_EQ(CountChosenSections(sections), 4u);
    EXPECT_FALSE(IsSectionChosen(sections[1]));
    EXPECT_EQ(CountChosenSections({}), 0u);
}

TEST(InstallationRun, SectionFilesAreCountedByExactName)
{
    const std::vector<FileEntry> files = {FileOf("Core"), FileOf("core"), FileOf("Core"), FileOf("Docs"),
                                          FileOf("Core ")};
    EXPECT_EQ(CountSectionFiles(files, "Core"), 2u);
    EXPECT_EQ(CountSectionFiles(files, "Docs"), 1u);
    EXPECT_EQ(CountSectionFiles(files, "None"), 0u);
}

TEST(InstallationRun, FirstPieceFollowsNoUnfinishedPieceOfItsDestination)
{
    auto piece = [](const std::string& destination, bool last) {
        FileEntry entry;
        entry.destinationPath = destination;
        entry.split = 1;
        entry.lastPiece = last ? 1 : 0;
        return entry;
    };
    // a.pak twice in a row, with b.pak's pieces between.
    const std::vector<FileEntry> files = {piece("[DP]\\a.pak", false), piece("[DP]\\b.pak", false),
                                          piece("[DP]\\a.pak", true), piece("[DP]\\a.pak", false),
                                          piece("[DP]\\b.pak", true)};
    const std::vector<std::size_t> first = {0, 1, 0, 3, 1};
    for (std::size_t index = 0; index < files.size(); ++index) {
        EXPECT_EQ(FirstPieceIndex(files, index), first[index]) << index;
        EXPECT_EQ(IsFirstPiece(files, index), first[index] == index) << index;
    }
}

TEST(InstallationRun, ProgressMaximumIsTheLastStepInSixteenBits)
{
    EXPECT_EQ(ProgressMaximum(3), 2);
    EXPECT_EQ(ProgressMaximum(1), 0);
    EXPECT_EQ(ProgressMaximum(0), 65535);
}

TEST(InstallationRun, GroupsWithoutColonLieInTheProgramsFolder)
{
    EXPECT_TRUE(IsGroupInProgramsFolder("MyApp"));
    EXPECT_TRUE(IsGroupInProgramsFolder(""));
    EXPECT_FALSE(IsGroupInProgramsFolder("D:\\Menus\\App"));
    EXPECT_FALSE(IsGroupInProgramsFolder("odd:name"));
    EXPECT_EQ(GroupInProgramsFolder("C:\\Start Menu\\Programs", "MyApp"), "C:\\Start Menu\\Programs\\MyApp");
    EXPECT_EQ(GroupInProgramsFolder("C:\\Start Menu\\Programs", ""), "C:\\Start Menu\\Programs\\");
}

TEST(InstallationRun, ShortcutLinkPathDropsOneTrailingBackslashOfTheGroup)
{
    EXPECT_EQ(ShortcutLinkPath("C:\\Programs\\MyApp", "Readme"), "C:\\Programs\\MyApp\\Readme.lnk");
    EXPECT_EQ(ShortcutLinkPath("C:\\Programs\\MyApp\\", "Readme"), "C:\\Programs\\MyApp\\Readme.lnk");
    EXPECT_EQ(ShortcutLinkPath("C:\\Programs\\", "Readme"), "C:\\Programs\\Readme.lnk");
    EXPECT_EQ(ShortcutLinkPath("C:\\Programs\\\\", "Readme"), "C:\\Programs\\\\Readme.lnk");
}

TEST(InstallationRun, UninstallEntryNamesTheKeyAndUnskeinInTheInstallationDirectory)
{
    EXPECT_EQ(UninstallKeyPath("Tessel Demo"), "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessel Demo");
    EXPECT_EQ(UninstallCommand("C:\\Program Files\\App\\"), "\"C:\\Program Files\\App\\Unskein.exe\"");
    // A directory typed on the destination page has no trailing backslash.
    EXPECT_EQ(UninstallCommand("C:\\Apps\\Demo"), "\"C:\\Apps\\Demo\\Unskein.exe\"");
}

TEST(InstallationRun, UninstallEntryIconSizeAndDate)
{
    EXPECT_EQ(UninstallIconPath("C:\\App\\GAME.EXE", "C:\\App\\"), "C:\\App\\GAME.EXE");
    EXPECT_EQ(UninstallIconPath("C:\\App\\readme.txt", "C:\\App\\"), "C:\\App\\Unskein.exe");
    EXPECT_EQ(UninstallIconPath("C:\\App.exe\\data", "C:\\App"), "C:\\App\\Unskein.exe");
    EXPECT_EQ(UninstallIconPath("", "C:\\App\\"), "C:\\App\\Unskein.exe") << "no shortcut";
    EXPECT_EQ(SizeInKilobytes(0), 0u);
    EXPECT_EQ(SizeInKilobytes(1), 1u);
    EXPECT_EQ(SizeInKilobytes(2048), 2u);
    EXPECT_EQ(SizeInKilobytes(2049), 3u);
    EXPECT_EQ(SizeInKilobytes(uint64_t{1} << 50), 0xFFFFFFFFu);
    EXPECT_EQ(InstallDateText(2026, 3, 7), "20260307");
}

// Every private file below [DP] must fit under a chosen folder: its path in
// 259 characters, its folder with room for the installation's temporary copy.
TEST(InstallationRun, ChosenFolderMustLeaveRoomForTheDeepestFile)
{
    StartModel({});
    gVariables.Set("SUB", "sub");
    std::vector<FileEntry> files(4);
    files[0].destinationPath = "[DP]\\[SUB]\\deep file.txt";
    files[1].destinationPath = "[DP]\\shared.dll";
    files[1].shared = 1;
    files[2].destinationPath = "[WINPATH]\\elsewhere.txt";
    files[3].destinationPath = "[DP]a.txt";
    const std::vector<std::string> below = PathsBelowInstallFolder(files);
    EXPECT_EQ(below, (std::vector<std::string>{"\\Uninstall.log", "\\sub\\deep file.txt", "a.txt"}));

    const std::string fits = "C:\\" + std::string(238, 'p');  // 241 characters
    EXPECT_EQ(PathThatDoesNotFit(fits, below), std::nullopt);
    EXPECT_EQ(PathThatDoesNotFit(fits + "\\", below), std::nullopt) << "a trailing backslash changes nothing";
    EXPECT_EQ(PathThatDoesNotFit(fits + "p", below), fits + "p\\sub\\deep file.txt");
    // The log alone: its folder is the installation folder itself.
    const std::string longest = "C:\\" + std::string(242, 'p');  // 245 characters
    EXPECT_EQ(PathThatDoesNotFit(longest, {"\\Uninstall.log"}), std::nullopt);
    EXPECT_EQ(PathThatDoesNotFit(longest + "p", {"\\Uninstall.log"}), longest + "p\\Uninstall.log");
    gVariables.Clear();
}
