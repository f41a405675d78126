// What the recording commands leave behind: numbers, flags, colours, records.
#include <gtest/gtest.h>

#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/folder_names.h"
#include "setup/model/text/records.h"
#include "setup/model/text/variables.h"

using Args = std::vector<std::string>;

TEST(ScriptNumbers, FollowTheAtoiRules)
{
    EXPECT_EQ(ScriptNumber("42"), 42);
    EXPECT_EQ(ScriptNumber("  -17abc"), -17);
    EXPECT_EQ(ScriptNumber("+5"), 5);
    EXPECT_EQ(ScriptNumber("yes"), 0);
    EXPECT_EQ(ScriptNumber(""), 0);
    EXPECT_EQ(ScriptNumber("\t\n 9"), 9);
    EXPECT_EQ(ScriptNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(ScriptNumber("-99999999999"), INT32_MIN);
    EXPECT_EQ(ScriptFlag("2"), 1);
    EXPECT_EQ(ScriptFlag("-1"), 1);
    EXPECT_EQ(ScriptFlag("yes"), 0);
    EXPECT_EQ(ScriptFlag(""), 0);
}

TEST(Records, AddFileMakesOneEntryPerMatchedFile)
{
    InstallationRecords records;
    const Args args = {"C:\\SETUP\\DATA\\*.*", "[DP]\\", "Main", "0", "1", "0", "0", "0", "1", "My App"};
    AppendFileEntries(records, args,
                      {{".", true}, {"..", true}, {"A.DLL", false}, {"SUB", true}, {"B.EXE", false},
                       {".profile", false}});
    ASSERT_EQ(records.files.size(), 2u);
    EXPECT_EQ(records.files[0].sourcePath, "C:\\SETUP\\DATA\\A.DLL");
    EXPECT_EQ(records.files[0].destinationPath, "[DP]\\A.DLL");
    EXPECT_EQ(records.files[1].sourcePath, "C:\\SETUP\\DATA\\B.EXE");
    EXPECT_EQ(records.files[1].destinationPath, "[DP]\\B.EXE");
    const FileEntry& entry = records.files[0];
    EXPECT_EQ(entry.sectionName, "Main");
    EXPECT_EQ(entry.shared, 0);
    EXPECT_EQ(entry.disk, 1);
    EXPECT_EQ(entry.shortcut, 1);
    EXPECT_EQ(entry.shortcutName, "My App");
}

TEST(Records, AddFileDestinationAndPatternForms)
{
    InstallationRecords records;
    AppendFileEntries(records, {"*.TXT", "[DP]\\Data.pak", "S", "yes", "70000", "2", "-1", "1", "", ""},
                      {{"ONE.TXT", false}, {"TWO.TXT", false}});
    ASSERT_EQ(records.files.size(), 2u);
    EXPECT_EQ(records.files[0].sourcePath, "ONE.TXT");  // no backslash: bare names
    EXPECT_EQ(records.files[1].destinationPath, "[DP]\\Data.pak");  // used unchanged
    EXPECT_EQ(records.files[0].shared, 0);
    EXPECT_EQ(records.files[0].disk, 4464);  // 70000 cut to 16 bits
    EXPECT_EQ(records.files[0].split, 1);
    EXPECT_EQ(records.files[0].lastPiece, 1);
    EXPECT_EQ(records.files[0].shortcut, 0);

    AppendFileEntries(records, {"x", "", "S", "0", "-1", "0", "0", "0", "0", ""}, {{"x", false}});
    EXPECT_EQ(records.files.back().disk, -1);
    EXPECT_EQ(records.files.back().destinationPath, "");
}

TEST(Records, SectionsWindowsAndActions)
{
    InstallationRecords records;
    AppendSection(records, {"Base", "2", "0", "Required files"});
    EXPECT_EQ(records.sections[0].name, "Base");
    EXPECT_EQ(records.sections[0].mandatory, 2);
    EXPECT_EQ(records.sections[0].comment, "Required files");
    EXPECT_EQ(records.sections[0].selected, 0);

    AppendCustomWindow(records, {"DIALOG_WELCOME", "AGREE", "CHECKBOX", "I agree", "0", "10", "20", "110", "40"});
    const CustomWindow& window = records.windows[0];
    EXPECT_EQ(window.page, "DIALOG_WELCOME");
    EXPECT_EQ(window.name, "AGREE");
    EXPECT_EQ(window.kind, "CHECKBOX");
    EXPECT_EQ(window.text, "I agree");
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.top, 20);
    EXPECT_EQ(window.right, 110);
    EXPECT_EQ(window.bottom, 40);
    EXPECT_EQ(window.window, nullptr);
}

TEST(Records, DisplaySettings)
{
    DisplaySettings display;
    EXPECT_EQ(display.topColor.blue, 255);
    EXPECT_EQ(display.captionColor1, 0x00FFFFFFu);
    SetCaptionColors(display, {"300", "0", "0", "0", "256", "-1"});
    EXPECT_EQ(display.captionColor1, 44u);  // 300 cut to 8 bits
    EXPECT_EQ(display.captionColor2, 0x00FF0000u);
    SetBackgroundColors(display, {"0", "0", "300", "1", "2", "-3"});
    EXPECT_EQ(display.topColor.blue, 300);  // stored unclamped
    EXPECT_EQ(display.bottomColor.blue, -3);
    SetCaptionPositions(display, {"1", "2", "3", "4"});
    EXPECT_EQ(display.caption2X, 3);
    EXPECT_EQ(display.caption2Y, 4);
}

class Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartModel({});
    }
    void Run(const std::string& name, Args args)
    {
        const CommandInfo* info = FindCommand(name);
        ASSERT_NE(info, nullptr) << name;
        ASSERT_EQ(static_cast<int>(args.size()), info->argumentCount) << name;
        ExpandCommandArguments(*info, args);
        RunRecordingCommand(*info, args, "C:\\Program Files\\");
    }
};

TEST_F(Commands, TableMatchesNamesExactly)
{
    EXPECT_EQ(FindCommand("showwelcome"), nullptr);
    EXPECT_EQ(FindCommand("ShowWelcome")->argumentCount, 0);
    EXPECT_EQ(FindCommand("AddFile")->argumentCount, 10);
    EXPECT_EQ(FindCommand("AddWindow")->argumentCount, 9);
    EXPECT_EQ(FindCommand("SetNextDynamicState")->argumentCount, 5);
    EXPECT_EQ(CommandTable().size(), 41u);
}

TEST_F(Commands, SetAppNameBuildsDpFromTheBaseEachTime)
{
    Run("SetVariable", {"DP", "D:\\Elsewhere\\"});
    Run("SetAppName", {"Foo"});
    EXPECT_EQ(gVariables.Get("APPNAME"), "Foo");
    EXPECT_EQ(gVariables.Get("PROGRAMGROUP"), "Foo");
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\Foo\\");
    Run("SetAppName", {"Bar"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\Bar\\");
    // Folders cannot take every character of a name; the name itself keeps them.
    Run("SetAppName", {"TCP/IP: \"Tiles\" <1|2>*? v2. "});
    EXPECT_EQ(gVariables.Get("APPNAME"), "TCP/IP: \"Tiles\" <1|2>*? v2. ");
    EXPECT_EQ(gVariables.Get("PROGRAMGROUP"), "TCPIP Tiles 12 v2");
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\TCPIP Tiles 12 v2\\");
}

TEST(FolderNameFor, LeavesOutWhatWindowsForbidsAndWhatItWouldDrop)
{
    EXPECT_EQ(FolderNameFor("a\\b\tc\x01" "d"), "abcd");
    EXPECT_EQ(FolderNameFor(".."), "");
    EXPECT_EQ(FolderNameFor(" Tiles .NET"), " Tiles .NET");
    EXPECT_EQ(FolderNameFor("Ti\xE9les"), "Ti\xE9les") << "ANSI letters stay";
}

TEST_F(Commands, ExpandedArgumentsAndVariablesTheyWrite)
{
    Run("SetAppName", {"Foo"});
    Run("SetVariable", {"[APPNAME]_DIR", "C:\\[APPNAME]"});
    EXPECT_EQ(gVariables.Get("Foo_DIR"), "C:\\Foo");
    Run("SetWelcomeString", {"Hello [APPNAME]", "Welcome"});
    EXPECT_EQ(gVariables.Get("WELCOMESTRING"), "Hello Foo");
    EXPECT_EQ(gVariables.Get("WELCOMESTRING_CAP"), "Welcome");
    Run("SetCaption", {"[APPNAME] Setup"});
    EXPECT_EQ(gVariables.Get("CAPTION"), "Foo Setup");
    // AddWindow expands its text only; SetNextDynamicState nothing.
    Run("AddWindow", {"[APPNAME]", "N", "LABEL", "[APPNAME]", "0", "0", "0", "1", "1"});
    EXPECT_EQ(gRecords.windows[0].page, "[APPNAME]");
    EXPECT_EQ(gRecords.windows[0].text, "Foo");
    Run("SetNextDynamicState", {"DIALOG_DEST", "CONTROL", "[APPNAME]", "TEXT", "[APPNAME]"});
    EXPECT_EQ(gRecords.actions[0].arguments[4], "[APPNAME]");
}

TEST_F(Commands, ShowMessageRecordsAllButNow)
{
    Run("SetAppName", {"Foo"});
    Run("ShowMessage", {"[APPNAME] is ready", "[APPNAME]", "BTN", "now"});
    ASSERT_EQ(gRecords.actions.size(), 1u);
    EXPECT_EQ(gRecords.actions[0].command, "ShowMessage");
    EXPECT_EQ(gRecords.actions[0].arguments, (Args{"Foo is ready", "Foo", "BTN", "now"}));
    Args now = {"x", "y", "", "NOW"};
    EXPECT_FALSE(RunRecordingCommand(*FindCommand("ShowMessage"), now, ""));
    EXPECT_EQ(gRecords.actions.size(), 1u);
}

TEST_F(Commands, RedrawWaitStaysWithinTenSeconds)
{
    for (const auto& [text, wait] : std::vector<std::pair<std::string, int32_t>>{
             {"250", 250}, {"-1", 0}, {"10001", 10000}, {"2147483647", 10000}}) {
        Run("SetRedrawWait", {text});
        EXPECT_EQ(gRecords.display.redrawWait, wait) << text;
    }
}
