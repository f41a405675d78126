#include <gtest/gtest.h>

#include "setup/guard/text/process_names.h"

TEST(ProcessNames, MatchByFileNameIgnoringCaseAndDirectory)
{
    ProcessNameTable table;
    AddProcessName(table, "C:\\Program Files\\Game\\GAME.EXE");
    AddProcessName(table, "explorer.exe");  // tool help on NT gives bare names
    AddProcessName(table, "");              // a process that could not be queried
    EXPECT_EQ(table, (ProcessNameTable{"game.exe", "explorer.exe", ""}));

    std::string name = "Game.EXE";
    LowerAsciiLetters(name);
    EXPECT_EQ(name, "game.exe");
    EXPECT_TRUE(TableHoldsName(table, name));
    EXPECT_TRUE(TableHoldsName(table, "explorer.exe"));
    EXPECT_FALSE(TableHoldsName(table, "c:\\program files\\game\\game.exe"));  // a directory never matches
    EXPECT_FALSE(TableHoldsName(table, "game"));
    EXPECT_FALSE(TableHoldsName(table, ""));  // though an unreadable process is in the table
}

TEST(ProcessNames, OnlyAsciiLettersAreLowered)
{
    std::string name = "\xC4RGER-Z@[.EXE";
    LowerAsciiLetters(name);
    EXPECT_EQ(name, "\xC4rger-z@[.exe");
}

TEST(ProcessNames, TableHoldsEveryName)
{
    ProcessNameTable table;
    for (int i = 0; i < 2000; ++i)
        AddProcessName(table, "C:\\P\\Task" + std::to_string(i) + ".exe");
    EXPECT_EQ(table.size(), 2000u);
    EXPECT_TRUE(TableHoldsName(table, "task1999.exe"));
}

TEST(ProcessNames, VirtualDosMachineByItsFileName)
{
    EXPECT_TRUE(IsVirtualDosMachine("C:\\WINNT\\system32\\NTVDM.EXE"));
    EXPECT_TRUE(IsVirtualDosMachine("ntvdm.exe"));
    EXPECT_FALSE(IsVirtualDosMachine("tvdm.exe"));
    EXPECT_FALSE(IsVirtualDosMachine("C:\\ntvdm.exe.bak"));
    EXPECT_FALSE(IsVirtualDosMachine(""));
}
