#include <gtest/gtest.h>

#include <string>

#include "common/text/ini_file.h"

namespace {

// Parses `bytes`, adds one key line, and gives the bytes that would be saved.
std::string WithKey(const std::string& bytes, const std::string& section, const std::string& key,
                    const std::string& value)
{
    IniFile file;
    file.Parse(bytes);
    file[section].Add(key, value);
    return file.Text();
}

const char kKey[] = "C:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL";
const char kValue[] = "C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp";

}  // namespace

TEST(IniFile, EmptyFileBecomesTheThreeLines)
{
    EXPECT_EQ(WithKey("", "rename", kKey, kValue),
              "[rename]\r\nC:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL=C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp\r\n\r\n");
}

TEST(IniFile, UnchangedFileIsWrittenBackByteForByte)
{
    const std::string bytes =
        "; pending work\r\n[rename]\r\nNUL=C:\\A.TMP\r\nNUL=C:\\B.TMP\r\n\r\nstray text\n[Other]\r\nx=1 ; note\r\nlast";
    IniFile file;
    file.Parse(bytes);
    EXPECT_EQ(file.Text(), bytes);
}

TEST(IniFile, NewKeyGoesAfterTheSectionsLastKeyAndEverythingElseStays)
{
    const std::string before =
        "; written by another setup\r\n"
        "[rename]\r\n"
        "NUL=C:\\WINDOWS\\TEMP\\OLD1.TMP\r\n"
        "; keep me\r\n"
        "NUL=C:\\WINDOWS\\TEMP\\OLD2.TMP\r\n"
        "\r\n"
        "[Other]\r\n"
        "a=b\r\n";
    EXPECT_EQ(WithKey(before, "rename", kKey, kValue),
              "; written by another setup\r\n"
              "[rename]\r\n"
              "NUL=C:\\WINDOWS\\TEMP\\OLD1.TMP\r\n"
              "; keep me\r\n"
              "NUL=C:\\WINDOWS\\TEMP\\OLD2.TMP\r\n"
              "C:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL=C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp\r\n"
              "\r\n"
              "[Other]\r\n"
              "a=b\r\n");
}

TEST(IniFile, AddingAKeyAgainKeepsItsEarlierLineAndReadsTheLast)
{
    // Another program's pending replacement of the same file stays; ours is carried out after it.
    IniFile file;
    file.Parse("[rename]\r\nNUL=C:\\X.TMP\r\nc:\\windows\\system\\mylibr~1.dll=C:\\OLD.tmp\r\nNUL=C:\\Y.TMP\r\n");
    EXPECT_EQ(*file["rename"].Find(kKey), "C:\\OLD.tmp");
    file["rename"].Add(kKey, kValue);
    EXPECT_EQ(file.Text(), "[rename]\r\nNUL=C:\\X.TMP\r\nc:\\windows\\system\\mylibr~1.dll=C:\\OLD.tmp\r\n"
                           "NUL=C:\\Y.TMP\r\nC:\\WINDOWS\\SYSTEM\\MYLIBR~1.DLL=C:\\WINDOWS\\TEMP\\MYLIBR~1.tmp\r\n");
    EXPECT_EQ(*file["rename"].Find(kKey), kValue);
    EXPECT_EQ(file["rename"].Find("C:\\OTHER.DLL"), nullptr);
}

TEST(IniFile, SectionNamesIgnoreCaseAsWindowsDoes)
{
    EXPECT_EQ(WithKey("[Rename]\r\nNUL=C:\\X.TMP\r\n", "rename", "K", "V"), "[Rename]\r\nNUL=C:\\X.TMP\r\nK=V\r\n");
}

TEST(IniFile, RepeatedHeaderContinuesTheSection)
{
    const std::string before = "[rename]\r\nA=1\r\n[other]\r\nB=2\r\n[rename]\r\nC=3\r\n\r\n";
    EXPECT_EQ(WithKey(before, "rename", "D", "4"),
              "[rename]\r\nA=1\r\n[other]\r\nB=2\r\n[rename]\r\nC=3\r\nD=4\r\n\r\n");
}

TEST(IniFile, RepeatedKeyIsReadFromItsLastLine)
{
    IniFile file;
    file.Parse("[rename]\nNUL=first\nNUL=second ; comment\n");
    EXPECT_EQ(*file["rename"].Find("NUL"), "second ");
}

TEST(IniFile, KeyGoesDirectlyAfterAHeaderWithoutKeys)
{
    EXPECT_EQ(WithKey("[rename]\r\n; nothing yet\r\n", "rename", "K", "V"), "[rename]\r\nK=V\r\n; nothing yet\r\n");
}

TEST(IniFile, LastLineWithoutLineEndGetsOneWhenSomethingFollows)
{
    EXPECT_EQ(WithKey("[rename]\r\nNUL=C:\\X.TMP", "rename", "K", "V"), "[rename]\r\nNUL=C:\\X.TMP\r\nK=V\r\n");
    EXPECT_EQ(WithKey("[other]\nx=1", "rename", "K", "V"), "[other]\nx=1\r\n[rename]\r\nK=V\r\n\r\n");
}

TEST(IniFile, OddLinesAreKeptAndDoNotBreakTheLoader)
{
    const std::string longLine(10000, 'x');
    const std::string before = "key=before any section\n[unclosed\nA=1\n" + longLine + "\n[" +
                               std::string(300, 'n') + "]\nB=2\n";
    IniFile file;
    file.Parse(before);
    EXPECT_EQ(*file["unclosed"].Find("A"), "1");
    EXPECT_EQ(*file[std::string(300, 'n')].Find("B"), "2");
    EXPECT_EQ(file.Text(), before);
}
