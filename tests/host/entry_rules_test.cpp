#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/log_records.h"
#include "common/text/registry_entries.h"
#include "uninstall/text/entry_rules.h"

namespace {

KeyGuard Guard(RegistryRoot root, const std::string& key)
{
    return GuardOf(root, KeyNames(key).value_or(std::vector<std::string>{}));
}

// A log with the records given as (what, kind) pairs.
UninstallLog LogOf(const std::vector<std::pair<std::vector<std::string>, LogKind>>& records)
{
    UninstallLog log;
    for (const auto& [fields, kind] : records)
        log.records.push_back({EncodeLogFields(fields), InfoOf(kind).word, ""});
    return log;
}

std::vector<std::string> Value(const std::string& root, const std::string& key, const std::string& removal,
                               const std::string& created, const std::string& earlier = "")
{
    return {root, key, "Name", "SZ", "C:\\App\\", removal, created, earlier};
}

}  // namespace

TEST(RegistryEntries, WordsAndNumbersAreReadExactly)
{
    EXPECT_EQ(RegistryRootOf("HKCR"), RegistryRoot::kClassesRoot);
    EXPECT_FALSE(RegistryRootOf("hklm"));
    EXPECT_FALSE(RegistryTypeOf("REG_SZ"));
    EXPECT_EQ(RegistryNumberOf("0xFFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(RegistryNumberOf("4294967295"), 0xFFFFFFFFu);
    for (const char* wrong : {"4294967296", "0x100000000", "-1", "0x", "", "12 ", "1e3"})
        EXPECT_FALSE(RegistryNumberOf(wrong)) << wrong;
    EXPECT_EQ(RegistryValueOf(RegistryType::kNumber, "0x01020304")->bytes, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(RegistryValueOf(RegistryType::kString, "a")->bytes, std::string("a\0", 2));
    const StoredValue binary{3, std::string("\0:|%\xFF", 5)};
    EXPECT_EQ(StoredValueOf(StoredValueText(binary)), binary);
    for (const char* wrong : {"", ":x", "0x1:x", "1"})
        EXPECT_FALSE(StoredValueOf(wrong)) << wrong;
    for (const std::string& wrong :
         std::vector<std::string>{"", "\\Software", "Software\\", "Software\\\\Vendor", std::string("A\0B", 3)})
        EXPECT_FALSE(KeyNames(wrong)) << wrong;
}

TEST(RegistryEntries, RootsSoftwareAndSharedKeysAreNeverDeletedWhole)
{
    using R = RegistryRoot;
    for (const auto& [root, key] : std::vector<std::pair<R, std::string>>{
             {R::kLocalMachine, "SOFTWARE"}, {R::kCurrentUser, "Software"}, {R::kLocalMachine, "Software\\Classes"},
             {R::kLocalMachine, "System"}, {R::kLocalMachine, "Software\\Wow6432Node"}, {R::kClassesRoot, ""}})
        EXPECT_EQ(Guard(root, key), KeyGuard::kNever) << key;
    for (const auto& [root, key] : std::vector<std::pair<R, std::string>>{
             {R::kClassesRoot, ".txt"}, {R::kLocalMachine, "software\\classes\\.txt"},
             {R::kCurrentUser, "Software\\Vendor"}, {R::kLocalMachine, "Software\\Wow6432Node\\Vendor"},
             {R::kLocalMachine, "SYSTEM\\CurrentControlSet"}, {R::kCurrentUser, "Control Panel\\Desktop\\X"}})
        EXPECT_EQ(Guard(root, key), KeyGuard::kWhenCreatedAndEmpty) << key;
    EXPECT_EQ(Guard(R::kCurrentUser, "Software\\Vendor\\Product"), KeyGuard::kWhenCreated);
    EXPECT_EQ(Guard(R::kClassesRoot, "TilePuzzle.File\\shell"), KeyGuard::kWhenCreated);
    EXPECT_TRUE(IsFileTypeKey(R::kCurrentUser, {"Software", "Classes", ".tpz"}));
    EXPECT_FALSE(IsFileTypeKey(R::kLocalMachine, {"Software", "Vendor"}));
}

// What setup logs comes back as Unskein's plan, last record first.
TEST(EntryRules, SetupsRecordsAreUndoneInReverseWithTheKeysTheyCreated)
{
    const EntryPlan plan = PlanEntryUndo(LogOf({
        {Value("HKCU", "Software\\Vendor\\Product\\Paths", "KEY", "3"), LogKind::kRegistryValue},
        {Value("HKCR", ".txt", "VALUE", "0", "1:txtfile" + std::string(1, '\0')), LogKind::kRegistryValue},
        {{"C:\\App\\app.ini", "Paths", "Home", "C:\\App", "=old"}, LogKind::kIniValue},
        {{"C:\\App\\ext.dll"}, LogKind::kLibrary},
    }));
    EXPECT_EQ(plan.skipped, 0u);
    ASSERT_EQ(plan.entries.size(), 4u);
    EXPECT_EQ(plan.entries[0].library, "C:\\App\\ext.dll");
    EXPECT_EQ(plan.entries[1].ini.earlier, "old");
    const RegistryUndo& type = plan.entries[2].registry;
    EXPECT_TRUE(type.fileTypes);
    EXPECT_FALSE(type.wholeKey);
    EXPECT_TRUE(type.emptyKeys.empty());
    EXPECT_EQ(type.earlier, (StoredValue{1, std::string("txtfile\0", 8)}));
    const RegistryUndo& settings = plan.entries[3].registry;
    EXPECT_TRUE(settings.wholeKey);
    EXPECT_EQ(settings.written, (StoredValue{1, std::string("C:\\App\\\0", 8)}));
    EXPECT_EQ(settings.emptyKeys, (std::vector<std::string>{"Software\\Vendor\\Product", "Software\\Vendor"}));
}

TEST(EntryRules, HostileRecordsAreSkippedAndCounted)
{
    const EntryPlan plan = PlanEntryUndo(LogOf({
        {Value("HKLM", "Software", "KEY", "1"), LogKind::kRegistryValue},
        {Value("HKCR", ".txt", "KEY", "1"), LogKind::kRegistryValue},
        {Value("HKLM", "Software\\Vendor", "KEY", "1"), LogKind::kRegistryValue},  // shared by several products
        {Value("HKLM", "Software\\Classes", "VALUE", "1"), LogKind::kRegistryValue},
        {Value("HKCU", "Software\\Vendor\\Product", "VALUE", "4"), LogKind::kRegistryValue},  // more than it names
        {Value("HKCU", "Software\\Vendor\\Product", "KEEP", "0"), LogKind::kRegistryValue},
        {Value("HKU", "S-1-5-18\\Software\\X", "VALUE", "0"), LogKind::kRegistryValue},
        {Value("HKCU", "Software\\\\X", "VALUE", "0"), LogKind::kRegistryValue},
        {Value("HKCU", "Software\\X\\Y", "VALUE", "0", "4"), LogKind::kRegistryValue},
        {{"HKCU", "Software\\X\\Y", "N", "DWORD", "many", "VALUE", "0", ""}, LogKind::kRegistryValue},
        {{"HKCU", "Software\\X\\Y"}, LogKind::kRegistryValue},
        {{"..\\app.ini", "Paths", "Home", "C:\\App", ""}, LogKind::kIniValue},
        {{"C:\\App\\app.ini", "Paths", "Home", "C:\\App", "old"}, LogKind::kIniValue},
        {{"ext.dll"}, LogKind::kLibrary},
    }));
    EXPECT_TRUE(plan.entries.empty());
    EXPECT_EQ(plan.skipped, 14u);
}
