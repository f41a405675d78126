// Where a 64-bit installation goes and which sections a machine gets.
#include <gtest/gtest.h>

#include "setup/model/text/built_in_variables.h"
#include "setup/model/text/commands.h"
#include "setup/model/text/platform.h"

namespace {

const MachineFacts kWindows9x{false, false, ""};
const MachineFacts kWindowsNt32{true, false, ""};
const MachineFacts kWindows64{true, true, "C:\\Program Files\\"};
const char kBase32[] = "C:\\Program Files (x86)\\";

class Platforms : public ::testing::Test {
protected:
    void Start(const MachineFacts& machine)
    {
        machine_ = machine;
        StartModel({"Z:\\medium", "C:\\windows", "C:\\windows\\system32", kBase32, "", machine});
    }
    void Run(const std::string& name, std::vector<std::string> args)
    {
        const CommandInfo* info = FindCommand(name);
        ASSERT_NE(info, nullptr) << name;
        ExpandCommandArguments(*info, args);
        RunRecordingCommand(*info, args, kBase32, gVariables, gRecords, machine_);
    }
    std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> names;
        for (const SectionEntry& section : gRecords.sections)
            names.push_back(section.name);
        return names;
    }
    MachineFacts machine_;
};

}  // namespace

TEST_F(Platforms, DpComesFromTheSixtyFourBitFolderInEitherOrderAndOnlyThere)
{
    Start(kWindows64);
    EXPECT_EQ(gVariables.Get("WIN64"), "1");
    Run("SetInstall64", {"1"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\") << "the built-in DP moves too";
    Run("SetAppName", {"Tiles"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\Tiles\\");

    Start(kWindows64);
    Run("SetAppName", {"Tiles"});
    Run("SetInstall64", {"1"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files\\Tiles\\");
    EXPECT_TRUE(Uses64BitSystem(gRecords, machine_));
    Run("SetInstall64", {"0"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files (x86)\\Tiles\\");
    EXPECT_FALSE(Uses64BitSystem(gRecords, machine_));

    // A DP the script chose stays; on 32-bit Windows nothing changes.
    Start(kWindows64);
    Run("SetVariable", {"DP", "D:\\Games\\"});
    Run("SetInstall64", {"1"});
    EXPECT_EQ(gVariables.Get("DP"), "D:\\Games\\");
    Start(kWindowsNt32);
    EXPECT_EQ(gVariables.Get("WIN64"), "0");
    Run("SetInstall64", {"1"});
    Run("SetAppName", {"Tiles"});
    EXPECT_EQ(gVariables.Get("DP"), "C:\\Program Files (x86)\\Tiles\\");
    EXPECT_FALSE(Uses64BitSystem(gRecords, machine_));
    // A 64-bit Windows whose 64-bit folder could not be read stays 32-bit.
    Start({true, true, ""});
    Run("SetInstall64", {"1"});
    EXPECT_FALSE(Uses64BitSystem(gRecords, machine_));
}

TEST_F(Platforms, EachMachineKeepsTheSectionsOfItsPlatform)
{
    const struct {
        MachineFacts machine;
        std::vector<std::string> kept;
    } cases[] = {
        {kWindows9x, {"Docs", "X86", "9X"}},
        {kWindowsNt32, {"Docs", "X86", "NT"}},
        {kWindows64, {"Docs", "X64", "NT"}},
    };
    for (const auto& c : cases) {
        Start(c.machine);
        for (const char* name : {"Docs", "X64", "X86", "NT", "9X"}) {
            Run("CreateSection", {name, "1", "0", ""});
            if (std::string(name) != "Docs")
                Run("SetSectionPlatform", {name, name});
        }
        Run("SetSectionPlatform", {"Docs", "x64"});  // no platform: ignored
        EXPECT_EQ(SectionNames(), c.kept);
    }
}
