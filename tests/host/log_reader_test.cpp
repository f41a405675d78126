#include <gtest/gtest.h>

#include <string>

#include "uninstall/text/log_reader.h"

namespace {

const std::string kHeader =
    "ZYNTRAK V1\n\nTESSEL UNINSTALLATION LOG FILE\n\n"
    "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!\n"
    "NO REAL PARSER DOES EXIST, SO DON\xB4T MODIFY ANYTHING!\n"
    "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU\n"
    "COULD BE UNABLE TO RESTART WINDOWS\n\nDATE:5/24/2001\n";
const std::string kAppKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo";

UninstallLog Read(const std::string& text)
{
    return ReadUninstallLog(text);
}

// The text as setup stores it: every line end is CR LF.
std::string WithCrLf(const std::string& text)
{
    std::string bytes;
    for (char c : text)
        bytes += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return bytes;
}

RemovalPlan Plan(const std::string& text)
{
    return PlanRemoval(Read(text));
}

using Paths = std::vector<std::string>;

}  // namespace

TEST(LogReader, RemovesFilesLastToFirstThenDirectoriesAndTheKey)
{
    const RemovalPlan plan = Plan(WithCrLf(kHeader +
                                           "[FILES]\n"
                                           "C:\\Program Files\\Demo\\\nDIR\n"
                                           "C:\\PROGRA~1\\Demo\\DEMO.EXE\nNONSHARED\n"
                                           "C:\\Program Files\\Demo\\Data\nDIR\n"
                                           "C:\\PROGRA~1\\Demo\\Data\\LONGNA~1.TXT\nNONSHARED\n"
                                           "C:\\Menu\\Demo\\Demo.lnk\nNONSHARED\n"
                                           "[REGISTRY]\n" +
                                           kAppKey + "\n"));
    EXPECT_EQ(plan.files, (Paths{"C:\\Menu\\Demo\\Demo.lnk", "C:\\PROGRA~1\\Demo\\Data\\LONGNA~1.TXT",
                                 "C:\\PROGRA~1\\Demo\\DEMO.EXE"}));
    EXPECT_EQ(plan.directories, (Paths{"C:\\Program Files\\Demo\\Data", "C:\\Program Files\\Demo\\"}));
    EXPECT_EQ(plan.registryKeys, Paths{kAppKey + "\\"});
}

TEST(LogReader, OnlyAWellFormedInstall64RecordSwitchesToTheSixtyFourBitView)
{
    const auto uses64 = [](const std::string& what) {
        return Plan(WithCrLf(kHeader + "[FILES]\n" + what + "\nINSTALL64\n[REGISTRY]\n" + kAppKey + "\n")).uses64;
    };
    EXPECT_TRUE(uses64("64"));
    EXPECT_FALSE(uses64("32"));
    EXPECT_FALSE(uses64("64|64"));
    EXPECT_FALSE(Plan(WithCrLf(kHeader + "[FILES]\n[REGISTRY]\n" + kAppKey + "\n")).uses64);
}

TEST(LogReader, HeaderLinesAreNotExamined)
{
    const RemovalPlan plan = Plan("garbage\nDIR\n[FILES]\nC:\\a.txt\nNONSHARED\n[REGISTRY]\n");
    EXPECT_EQ(plan.files, Paths{"C:\\a.txt"});
    EXPECT_TRUE(plan.directories.empty());
}

TEST(LogReader, SharedFilesStayAndTheirRegistrationLineKeepsPairingInStep)
{
    for (const std::string registration : {"AUTOREGSVR\n", "NOAUTOREGSVR\n", ""}) {
        SCOPED_TRACE(registration);
        const UninstallLog log = Read(kHeader + "[FILES]\n" +
                                      "C:\\WINDOWS\\SYSTEM\\shared.dll\nSHARED\n" + registration +
                                      "C:\\Demo\\Sub\nDIR\n"
                                      "C:\\Demo\\Sub\\a.txt\nNONSHARED\n"
                                      "[REGISTRY]\n" +
                                      kAppKey + "\n");
        ASSERT_EQ(log.records.size(), 3u);
        EXPECT_EQ(log.records[0].kind, "SHARED");
        const RemovalPlan plan = PlanRemoval(log);
        EXPECT_EQ(plan.files, Paths{"C:\\Demo\\Sub\\a.txt"});
        EXPECT_EQ(plan.directories, Paths{"C:\\Demo\\Sub"});
        EXPECT_EQ(plan.registryKeys, Paths{kAppKey + "\\"});
    }
}

TEST(LogReader, RegistrationWordsElsewhereAreOrdinaryLines)
{
    // Only right after a SHARED kind line is such a line setup's; a file may carry the name.
    const UninstallLog log = Read("[FILES]\nC:\\x\\AUTOREGSVR\nNONSHARED\nAUTOREGSVR\nNONSHARED\n");
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[1].path, "AUTOREGSVR");
    EXPECT_EQ(PlanRemoval(log).files, Paths{"C:\\x\\AUTOREGSVR"}) << "the other is no full path";
}

TEST(LogReader, FilesSharedFilesAndFoldersThatAreNotFullPlainPathsAreSkippedAndCounted)
{
    const RemovalPlan plan = Plan("[FILES]\nC:\\Demo\\..\\..\\Windows\nDIR\nC:\\Demo\\a.txt\nNONSHARED\n"
                                  "readme.txt\nNONSHARED\n\\\\?\\C:\\Windows\\win.ini\nNONSHARED\n"
                                  "shared.dll\nSHARED\nC:\\Demo\\\nDIR\n[REGISTRY]\n");
    EXPECT_EQ(plan.files, Paths{"C:\\Demo\\a.txt"});
    EXPECT_EQ(plan.directories, Paths{"C:\\Demo\\"});
    EXPECT_TRUE(plan.sharedFiles.empty()) << "no count is taken back for a name that is no full path";
    EXPECT_EQ(plan.skipped, 4u);
}

TEST(LogReader, WithoutRegistrySectionActsOnFilesReadButDeletesNoKey)
{
    const RemovalPlan plan = Plan(kHeader + "[FILES]\nC:\\Demo\\\nDIR\nC:\\Demo\\a.txt\nNONSHARED\n" + kAppKey + "\n");
    EXPECT_EQ(plan.files, Paths{"C:\\Demo\\a.txt"});
    EXPECT_EQ(plan.directories, Paths{"C:\\Demo\\"});
    EXPECT_TRUE(plan.registryKeys.empty());
}

TEST(LogReader, WithoutFilesSectionNothingIsRemoved)
{
    const UninstallLog log = Read(kHeader + "C:\\Demo\\a.txt\nNONSHARED\n[REGISTRY]\n" + kAppKey + "\n");
    EXPECT_TRUE(log.records.empty());
    EXPECT_TRUE(log.registryKeys.empty());
    EXPECT_TRUE(Read("").records.empty());
}

TEST(LogReader, OddLineGetsAnEmptyKindAndRegistryLineEndsTheSectionAnywhere)
{
    const UninstallLog log = Read("[FILES]\nC:\\a\nNONSHARED\nC:\\b\n[REGISTRY]\n\n" + kAppKey + "\n\n");
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[1].path, "C:\\b");
    EXPECT_EQ(log.records[1].kind, "");
    EXPECT_EQ(log.registryKeys, Paths{kAppKey});
}

TEST(LogReader, OnlyCrLfOrLfEndsALineAndTheLastNeedsNone)
{
    const UninstallLog log = Read("[FILES]\r\nC:\\a\rb\r\nNONSHARED\n[REGISTRY]\r\n" + kAppKey);
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].path, "C:\\a\rb");
    EXPECT_EQ(log.records[0].kind, "NONSHARED");
    EXPECT_EQ(log.registryKeys, Paths{kAppKey});
}

TEST(LogReader, LongLinesAreReadWhole)
{
    const std::string longPath = "C:\\" + std::string(300, 'd') + "\\" + std::string(400, 'f') + ".txt";
    const RemovalPlan plan = Plan("[FILES]\n" + longPath + "\nNONSHARED\nC:\\short.txt\nNONSHARED\n[REGISTRY]\n");
    EXPECT_EQ(plan.files, (Paths{"C:\\short.txt", longPath}));
}

TEST(LogReader, KindsAndSectionLinesCompareExactly)
{
    const RemovalPlan plan = Plan("[files]\n[FILES]\nC:\\a\nnonshared\nC:\\b\nDIR \nC:\\c\n NONSHARED\n[Registry]\n");
    EXPECT_TRUE(plan.files.empty());
    EXPECT_TRUE(plan.directories.empty());
}

TEST(LogReader, OnlyKeysBelowTheUninstallKeyAreDeleted)
{
    const RemovalPlan plan = Plan(
        "[FILES]\n[REGISTRY]\n"
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\n"    // empty application name
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\\\n"
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\n"
        "Software\\Microsoft\\Windows\\CurrentVersion\n"
        "Software\n"
        "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\Other App\n" +
        kAppKey + "\n");
    EXPECT_EQ(plan.registryKeys,
              (Paths{"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\Other App\\", kAppKey + "\\"}));
}

TEST(LogReader, PathsHoldingNulAreLeftAlone)
{
    // The system would read them cut at the NUL, so another file or key than the log names.
    const std::string nul(1, '\0');
    const RemovalPlan plan = Plan("[FILES]\nC:\\Windows" + nul + "junk\nNONSHARED\nC:\\a\nNONSHARED\n"
                                  "[REGISTRY]\n" + kAppKey + nul + "x\n");
    EXPECT_EQ(plan.files, Paths{"C:\\a"});
    EXPECT_TRUE(plan.registryKeys.empty());
}

TEST(LogReader, LogLiesBesideTheProgram)
{
    EXPECT_EQ(LogPathBeside("C:\\Program Files\\Demo\\Unskein.exe"), "C:\\Program Files\\Demo\\uninstall.log");
    EXPECT_EQ(LogPathBeside("Unskein.exe"), "uninstall.log");
}

// The program's own files come in log order reversed, with their question
// and name; a record that names nothing Unskein may delete is counted as
// skipped, and the clean removal holds only for a record saying "1".
TEST(LogReader, FilesTheProgramMadeAndTheCleanRemovalAreRead)
{
    const RemovalPlan plan = Plan(kHeader + "[FILES]\n"
                                            "C:\\Data\\Demo\\|1|Demo\nDELETEFILES\n"
                                            "C:\\Data\\Demo.log|0|Demo\nDELETEFILES\n"
                                            "Demo\\x.ini|0|Demo\nDELETEFILES\n"
                                            "C:\\Data\\x%00.ini|0|Demo\nDELETEFILES\n"
                                            "C:\\Data\\x.ini|0\nDELETEFILES\n"
                                            "0\nCLEANUNINSTALL\n"
                                            "[REGISTRY]\n");
    ASSERT_EQ(plan.madeFiles.size(), 2u);
    EXPECT_EQ(plan.madeFiles[0].target.name, "Demo.log");
    EXPECT_FALSE(plan.madeFiles[0].ask);
    EXPECT_EQ(plan.madeFiles[1].target.folder, "C:\\Data\\Demo");
    EXPECT_TRUE(plan.madeFiles[1].ask);
    EXPECT_EQ(plan.madeFiles[1].appName, "Demo");
    EXPECT_EQ(plan.skipped, 3u);
    EXPECT_FALSE(plan.cleanUninstall);
    EXPECT_TRUE(Plan(kHeader + "[FILES]\n1\nCLEANUNINSTALL\n").cleanUninstall);
}
