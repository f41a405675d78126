// Shortcuts, choices and the finish page without the system: what the
// commands record, how places, targets and icons read, which sections show
// a size and which finish actions are left out.
#include <gtest/gtest.h>

#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/shortcut_places.h"
#include "setup/ui/text/finish.h"
#include "setup/ui/text/sections.h"

using Args = std::vector<std::string>;

namespace {

void Record(const std::string& name, Args args)
{
    const CommandInfo* info = FindCommand(name);
    ASSERT_NE(info, nullptr) << name;
    ASSERT_EQ(static_cast<int>(args.size()), info->argumentCount) << name;
    ExpandCommandArguments(*info, args);
    EXPECT_TRUE(RunRecordingCommand(*info, args, "C:\\Program Files\\")) << name;
}

}  // namespace

// Paths wait for the copy or finish page; a preselection applies to the
// sections of that exact name created before it.
TEST(ShortcutCommands, RecordTheirArgumentsAndPreselectSections)
{
    StartModel({});
    Record("SetAppName", {"Foo"});
    Record("CreateSection", {"Icon", "0", "0", ""});
    Record("CreateSection", {"icon", "0", "0", ""});
    Record("SetSectionSelected", {"Icon", "1"});
    Record("CreateSection", {"Icon", "0", "0", ""});
    EXPECT_EQ(gRecords.sections[0].selected, 1);
    EXPECT_EQ(gRecords.sections[1].selected, 0);
    EXPECT_EQ(gRecords.sections[2].selected, 0);
    Record("SetSectionSelected", {"Icon", "0"});
    EXPECT_EQ(gRecords.sections[0].selected, 0);

    Record("AddShortcut", {"DESKTOP", "[APPNAME]", "[DP]\\foo.exe", "-x", "[DP]\\foo.exe,2", "Icon"});
    ASSERT_EQ(gRecords.shortcuts.size(), 1u);
    const ShortcutEntry& link = gRecords.shortcuts[0];
    EXPECT_EQ((Args{link.place, link.name, link.target, link.arguments, link.icon, link.sectionName}),
              (Args{"DESKTOP", "[APPNAME]", "[DP]\\foo.exe", "-x", "[DP]\\foo.exe,2", "Icon"}));
    Record("AddFinishAction", {"RUN", "[DP]\\foo.exe", "[APPNAME]", "Start [APPNAME]", "2"});
    ASSERT_EQ(gRecords.finishActions.size(), 1u);
    const FinishAction& action = gRecords.finishActions[0];
    EXPECT_EQ((Args{action.kind, action.target, action.arguments, action.text}),
              (Args{"RUN", "[DP]\\foo.exe", "[APPNAME]", "Start Foo"}));
    EXPECT_EQ(action.checked, 1);
}

TEST(ShortcutWords, PlacesTargetsAndIcons)
{
    EXPECT_EQ(PlaceOf("DESKTOP"), ShortcutPlace::kDesktop);
    EXPECT_EQ(PlaceOf("SENDTO"), ShortcutPlace::kSendTo);
    EXPECT_EQ(PlaceOf("desktop"), ShortcutPlace::kUnknown);
    EXPECT_EQ(PlaceOf("C:\\Links\\"), ShortcutPlace::kFolder);
    EXPECT_EQ(PlaceOf("C:\\Links"), ShortcutPlace::kUnknown);
    EXPECT_EQ(PlaceOf(""), ShortcutPlace::kUnknown);

    EXPECT_TRUE(IsWebAddress("https://example.org/a"));
    EXPECT_TRUE(IsWebAddress("mailto:me@example.org"));
    EXPECT_FALSE(IsWebAddress("C://x"));
    EXPECT_FALSE(IsWebAddress("C:\\a://b"));
    EXPECT_TRUE(IsAbsolutePath("C:\\x"));
    EXPECT_TRUE(IsAbsolutePath("\\\\server\\share"));
    EXPECT_FALSE(IsAbsolutePath("C:x"));
    EXPECT_FALSE(IsAbsolutePath("x\\y"));

    EXPECT_EQ(SplitIconLocation("C:\\a,b\\tiles.dll,-3").path, "C:\\a,b\\tiles.dll");
    EXPECT_EQ(SplitIconLocation("C:\\a,b\\tiles.dll,-3").index, -3);
    EXPECT_EQ(SplitIconLocation("C:\\app.ico").path, "C:\\app.ico");
    EXPECT_EQ(SplitIconLocation("C:\\app.ico").index, 0);
    EXPECT_EQ(SplitIconLocation("").path, "");
}

// A section of shortcuts or registry entries only is a choice without a
// size; an empty one keeps its 0.
TEST(SectionSize, ShownUnlessTheSectionHoldsOnlyShortcutsOrRegistryEntries)
{
    InstallationRecords records;
    records.files.push_back(FileEntry{});
    records.files[0].sectionName = "Main";
    records.shortcuts.push_back({"DESKTOP", "A", "", "", "", "Main"});
    records.shortcuts.push_back({"DESKTOP", "A", "", "", "", "Icon"});
    EXPECT_TRUE(ShowsSectionSize(records, "Main"));
    EXPECT_FALSE(ShowsSectionSize(records, "Icon"));
    records.registryEntries.push_back({"HKCU", "Software\\A", "", "NONE", "", "Settings", "KEY"});
    EXPECT_FALSE(ShowsSectionSize(records, "Settings"));
    EXPECT_TRUE(ShowsSectionSize(records, "Empty"));
}

// An action's target is left out when only sections not chosen install it,
// compared as Windows compares paths.
TEST(FinishPage, LeavesOutTargetsOfSectionsNotChosenAndSaysWhatBecameOfTheRun)
{
    StartModel({});
    VariableStore variables;
    variables.Set("DP", "C:\\App\\");
    InstallationRecords records;
    records.sections = {{"Main", 1, "", 0}, {"Extras", 0, "", 0}, {"Both", 0, "", 1}};
    for (const auto& [destination, section] : std::vector<std::pair<std::string, std::string>>{
             {"[DP]\\main.exe", "Main"}, {"[DP]\\extra.exe", "Extras"}, {"[DP]\\both.exe", "Extras"},
             {"[DP]\\both.exe", "Both"}}) {
        records.files.push_back(FileEntry{});
        records.files.back().destinationPath = destination;
        records.files.back().sectionName = section;
    }
    EXPECT_FALSE(IsLeftOut(records, "C:\\App\\main.exe", variables));
    EXPECT_TRUE(IsLeftOut(records, "c:\\app\\\\EXTRA.exe", variables));
    EXPECT_FALSE(IsLeftOut(records, "C:\\App\\both.exe", variables));
    EXPECT_FALSE(IsLeftOut(records, "C:\\Windows\\notepad.exe", variables));

    EXPECT_EQ(FinishTitle(false), "Setup complete");
    EXPECT_EQ(FinishText("Foo", false), "Foo is now installed on your computer.\n\nClick Finish to close setup.");
    EXPECT_EQ(FinishTitle(true), "Setup stopped");
    EXPECT_EQ(FinishText("Foo", true),
              "The installation of Foo was stopped before it was complete.\n\nClick Finish to close setup.");
}
