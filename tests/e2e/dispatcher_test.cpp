// Carrying out the script: commands, argument counts, expansion, the end.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;

namespace {

const char kSyntaxError[] =
    "Syntax error in 'SetupScript.INI': Function is not defined (possibly wrong parameter count?)\n"
    "Setup cannot be continued.";

std::string WindowsDirectory()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, sizeof path);
    return path;
}

std::string SystemDirectory()
{
    char path[MAX_PATH] = "";
    GetSystemDirectoryA(path, sizeof path);
    return path;
}

}  // namespace

TEST(Dispatcher, WrongArgumentCountStopsAfterTheEarlierEntriesRan)
{
    Medium medium;
    medium.WriteScript("ShowMessage(\"first\",\"One\",\"\",\"NOW\");\n"
                       "ShowWelcome(\"x\");\n"
                       "ShowMessage(\"never\",\"Two\",\"\",\"NOW\");\n");
    SetupRun setup(medium);
    setup.ExpectMessageBox("One", "first", IDOK);
    setup.ExpectMessageBox("Fatal error", kSyntaxError, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 2);
}

TEST(Dispatcher, PageCommandsCheckTheirCountsToo)
{
    Medium medium;
    medium.WriteScript("ShowCopy(\"now\");");
    SetupRun setup(medium);
    setup.ExpectMessageBox("Fatal error", kSyntaxError, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 2);
}

TEST(Dispatcher, NamesThatAreNoCommandAreSkipped)
{
    Medium medium;
    medium.WriteScript("showmessage(\"lower\",\"x\",\"\",\"NOW\");\n"
                       "showwelcome(\"too\", \"many\");\n"
                       "Frobnicate();\n"
                       "ShowMessage(\"shown\",\"Only\",\"\",\"NOW\");\n"
                       "ShowMessage(\"stored\",\"Never\",\"BTN\",\"now\");\n");
    SetupRun setup(medium);
    setup.ExpectMessageBox("Only", "shown", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(Dispatcher, BuiltInVariablesAndSetAppName)
{
    Medium medium;
    medium.WriteScript("ShowMessage(\"[SP]|[SETUPFILE]|[WINPATH]|[SYSPATH]|[DP]\",\"Start\",\"\",\"NOW\");\n"
                       "SetAppName(\"Foo\");\n"
                       "ShowMessage(\"[APPNAME] is ready\",\"[APPNAME]\",\"\",\"NOW\");\n"
                       "SetVariable(\"DP\", \"D:\\Other\\\");\n"
                       "SetAppName(\"Bar\");\n"
                       "ShowMessage(\"[DP]|[APPNAME]|[PROGRAMGROUP]\",\"Again\",\"\",\"NOW\");\n");
    const std::string base = ProgramFilesFolder() + "\\";
    SetupRun setup(medium);
    setup.ExpectMessageBox("Start",
                           medium.path() + "|" + medium.path() + "\\SetupScript.ini|" + WindowsDirectory() + "|" +
                               SystemDirectory() + "|" + base,
                           IDOK);
    setup.ExpectMessageBox("Foo", "Foo is ready", IDOK);
    setup.ExpectMessageBox("Again", base + "Bar\\|Bar|Bar", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

TEST(Dispatcher, RecordsAndDisplayCommandsRunWithoutAWord)
{
    Medium medium;
    medium.AddFile("DATA\\A.TXT", "a");
    medium.WriteScript("SetBackground(\"0\",\"128\",\"0\",\"0\",\"0\",\"64\");\n"
                       "SetRedrawWait(\"0\"); SetCaptionSize(\"30\"); SetCaption(\"Foo\");\n"
                       "SetCaptionColor(\"1\",\"2\",\"3\",\"4\",\"5\",\"6\"); SetCaptionPos(\"1\",\"2\",\"3\",\"4\");\n"
                       "SetDeveloperName(\"Dev\"); SetWelcomeString(\"a\",\"b\"); SetWelcomeString2(\"c\");\n"
                       "CreateSection(\"Main\",\"1\",\"0\",\"Main files\");\n"
                       "AddFile(\"[SP]\\DATA\\*.*\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");\n"
                       "AddWindow(\"DIALOG_WELCOME\",\"C\",\"CHECKBOX\",\"x\",\"0\",\"1\",\"1\",\"50\",\"20\");\n"
                       "SetNextDynamicState(\"DIALOG_WELCOME\",\"CONTROL\",\"C\",\"VALUE\",\"1\");\n"
                       "CheckButton(\"C\");\n"
                       "ShowMessage(\"[DEVELOPERNAME]\",\"Done\",\"\",\"NOW\");\n");
    SetupRun setup(medium);
    setup.ExpectMessageBox("Done", "Dev", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}

// Windows' search takes no longer pattern, so its files would be missing
// without a word.
TEST(Dispatcher, SourcePatternLongerThan259CharactersIsReportedAtAddFile)
{
    Medium medium;
    const std::string pattern = "[SP]\\" + std::string(255, 'p');
    medium.WriteScript(AddFileCall(pattern, "[DP]\\", "Main") + ScriptCall("ShowMessage", {"go on", "Done", "", "NOW"}));
    SetupRun setup(medium);
    const std::string expanded = medium.path() + pattern.substr(4);
    setup.ExpectMessageBox("Error", "The source pattern " + expanded +
                                        " is longer than 259 characters, setup cannot find its files. They will not "
                                        "be installed.",
                           IDOK);
    setup.ExpectMessageBox("Done", "go on", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
