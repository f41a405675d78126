// Replacing a file in use at the next restart: version information, the
// delayed move on Windows NT and the Wininit.ini entry on Windows 98 (run in
// a child copy of this program that Wine shows Windows 98 to).
#include <gtest/gtest.h>

#include <vector>

#include "setup/install/deferred_replacement.h"
#include "setup/install/version_calls.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;

namespace {

class DeferredReplacement : public ::testing::Test {
protected:
    void SetUp() override
    {
        destination = installed / "Shared Library.dll";
        wininitBefore = ReadFile(wininit);
    }
    void TearDown() override
    {
        for (const std::string& path : copies) {
            ForgetPendingRename(path);
            DeleteFileA(path.c_str());
        }
        if (ReadFile(wininit) != wininitBefore) {
            if (wininitBefore.empty())
                DeleteFileA(wininit.c_str());
            else
                WriteFile(wininit, wininitBefore);
        }
        EXPECT_TRUE(prompter.AllAnswersUsed());
    }

    std::string Source(const std::string& fixture, const std::string& name)
    {
        const std::string path = medium / name;
        CopyFixture(fixture, path);
        return path;
    }
    Deferral Defer(const std::string& source) { return ReplaceFileAtRestart(source, destination, prompter); }
    // The copy that Windows NT will move over the destination; empty when none.
    std::string PendingCopy()
    {
        const std::string copy = PendingRenameSource(destination);
        if (!copy.empty())
            copies.push_back(copy);
        return copy;
    }
    // The copy that Wininit.ini's last line for the destination names; empty when none.
    std::string WininitCopy()
    {
        const std::string text = ReadFile(wininit);
        const std::string line = "\r\n" + ShortPathOf(destination) + "=";
        const std::size_t at = text.rfind(line);
        if (at == std::string::npos)
            return "";
        const std::size_t start = at + line.size();
        copies.push_back(text.substr(start, text.find("\r\n", start) - start));
        return copies.back();
    }

    TempDir medium{"medium"};
    TempDir installed{"installed"};
    std::string destination;
    std::string wininit = WindowsDirectory() + "\\Wininit.ini";
    std::string wininitBefore;
    std::vector<std::string> copies;
    ScriptedPrompter prompter;
};

}  // namespace

TEST(ReadVersionInfo, FileVersionLanguageAndCodePage)
{
    const std::optional<VersionInfo> german = ReadVersionInfo(FixturePath("german_205.dll"));
    ASSERT_TRUE(german);
    EXPECT_EQ(german->fileVersionHigh, 0x00020000u);
    EXPECT_EQ(german->fileVersionLow, 0x00000005u);
    EXPECT_TRUE(german->hasTranslation);
    EXPECT_EQ(german->language, 0x407);
    EXPECT_EQ(german->codePage, 1252);
    EXPECT_EQ(german->languageName, "German");

    const std::optional<VersionInfo> english = ReadVersionInfo(FixturePath("english_201.dll"));
    ASSERT_TRUE(english);
    EXPECT_EQ(english->languageName, "English");
    EXPECT_EQ(english->codePage, 1200);
}

TEST(ReadVersionInfo, NoTranslationBlockAndNoVersionAtAll)
{
    const std::optional<VersionInfo> bare = ReadVersionInfo(FixturePath("no_translation.dll"));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->fileVersionHigh, 0x00010000u);
    EXPECT_FALSE(bare->hasTranslation);
    EXPECT_EQ(bare->languageName, "");
    EXPECT_FALSE(ReadVersionInfo(FixturePath("readme.txt")));
    EXPECT_FALSE(ReadVersionInfo("C:\\no such file.dll"));
}

TEST_F(DeferredReplacement, NewerFileIsMovedAtRestartOnWindowsNt)
{
    CopyFixture("register_ok.dll", destination);  // 1.2
    const std::string source = Source("german_205.dll", "NEWER.DLL");  // 2.0
    EXPECT_EQ(Defer(source), Deferral::kSettled);
    const std::string copy = PendingCopy();
    ASSERT_NE(copy, "") << "moved over the destination by its long name";
    EXPECT_EQ(ReadFile(copy), ReadFile(source));
    EXPECT_EQ(ReadFile(wininit), wininitBefore);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DeferredReplacement, EqualMajorAndMinorVersionReplacesDespiteALowerBuild)
{
    CopyFixture("german_205.dll", destination);  // 2.0.0.5
    EXPECT_EQ(Defer(Source("english_201.dll", "EQUAL.DLL")), Deferral::kSettled);  // 2.0.0.1
    EXPECT_NE(PendingCopy(), "");
}

TEST_F(DeferredReplacement, OlderFileReplacesNothing)
{
    CopyFixture("german_205.dll", destination);  // 2.0
    EXPECT_EQ(Defer(Source("register_ok.dll", "OLDER.DLL")), Deferral::kSettled);  // 1.2
    EXPECT_EQ(PendingCopy(), "");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DeferredReplacement, UnreadableVersionOnEitherSideIsReported)
{
    CopyFixture("register_ok.dll", destination);
    EXPECT_EQ(Defer(Source("readme.txt", "TEXT.DLL")), Deferral::kVersionUnreadable);
    const std::string source = Source("german_205.dll", "NEWER.DLL");
    CopyFixture("readme.txt", destination);
    EXPECT_EQ(Defer(source), Deferral::kVersionUnreadable);
    EXPECT_EQ(PendingCopy(), "");
}

// ---- Windows 98: the same deferral in a child copy of this program.

namespace {

// Runs this program again under its own name, which Wine is told to show
// Windows 98 to, with only the child test below; true when it passed.
bool RunAsWindows98(const std::string& source, const std::string& destination)
{
    TempDir directory("win98");
    const std::string name = "defer98-" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string program = directory / name;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!CopyFileA(self, program.c_str(), FALSE))
        return false;
    Windows98Program windows98(name);
    SetEnvironmentVariableA("TESSEL_DEFER_SOURCE", source.c_str());
    SetEnvironmentVariableA("TESSEL_DEFER_DESTINATION", destination.c_str());
    return RunToEnd("\"" + program + "\" --gtest_also_run_disabled_tests --gtest_filter=Windows98Child.DISABLED_Defer",
                    "", 60000)
               .exitCode == 0;
}

}  // namespace

TEST(Windows98Child, DISABLED_Defer)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    ScriptedPrompter prompter;
    EXPECT_EQ(ReplaceFileAtRestart(Env("TESSEL_DEFER_SOURCE"), Env("TESSEL_DEFER_DESTINATION"), prompter),
              Deferral::kSettled);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DeferredReplacement, Windows98MissingWininitBecomesThreeLines)
{
    CopyFixture("register_ok.dll", destination);
    const std::string source = Source("german_205.dll", "NEWER.DLL");
    DeleteFileA(wininit.c_str());
    ASSERT_TRUE(RunAsWindows98(source, destination));
    const std::string copy = WininitCopy();
    EXPECT_EQ(ReadFile(wininit), "[rename]\r\n" + ShortPathOf(destination) + "=" + copy + "\r\n\r\n");
    EXPECT_EQ(ReadFile(copy), ReadFile(source));
    EXPECT_EQ(PendingCopy(), "");
}

namespace {

// Our temporary names in the Windows directory and its TEMP folder.
std::vector<std::string> TemporaryNamesOfOurs()
{
    std::vector<std::string> names;
    for (const std::string& directory : {WindowsDirectory(), WindowsDirectory() + "\\TEMP"})
        for (const std::string& name : DirectoryNames(directory, "tsl*.tmp"))
            names.push_back(directory + "\\" + name);
    return names;
}

}  // namespace

TEST_F(DeferredReplacement, Windows98LeavesAWininitItCannotReadOrReplaceWholeAsItWasWithNoCopyBehind)
{
    CopyFixture("register_ok.dll", destination);
    const std::string source = Source("german_205.dll", "NEWER.DLL");
    const std::string others = "[rename]\r\nNUL=C:\\windows\\TEMP\\OLD1.TMP\r\n";
    struct Hold {
        const char* what;
        DWORD access;
        DWORD share;
    };
    for (const Hold& hold : {Hold{"another program writes it and lets nobody read", GENERIC_WRITE, FILE_SHARE_WRITE},
                             Hold{"another program reads it and lets nobody write or rename", GENERIC_READ,
                                  FILE_SHARE_READ}}) {
        SCOPED_TRACE(hold.what);
        WriteFile(wininit, others);
        const std::vector<std::string> before = TemporaryNamesOfOurs();
        HANDLE held = CreateFileA(wininit.c_str(), hold.access, hold.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const bool passed = RunAsWindows98(source, destination);
        CloseHandle(held);
        EXPECT_TRUE(passed);
        EXPECT_EQ(ReadFile(wininit), others);
        EXPECT_EQ(TemporaryNamesOfOurs(), before) << "a copy that nothing will move";
    }
}

TEST_F(DeferredReplacement, Windows98KeepsAPendingReplacementOfTheSameFileAndGoesAfterItOnlyWhenNotOlder)
{
    CopyFixture("register_fails.dll", destination);                         // 1.0
    const std::string theirs = Source("register_ok.dll", "THEIRS.TMP");      // 1.2, another program's
    std::string key = ShortPathOf(destination);
    CharLowerA(&key[0]);
    const std::string others = "; pending work of other programs\r\n[Rename]\r\nNUL=C:\\windows\\TEMP\\OLD1.TMP\r\n" +
                               key + "=" + theirs + "\r\n";
    WriteFile(wininit, others);
    ASSERT_TRUE(RunAsWindows98(Source("german_205.dll", "NEWER.DLL"), destination));  // 2.0
    const std::string ours = WininitCopy();
    EXPECT_EQ(ReadFile(wininit), others + ShortPathOf(destination) + "=" + ours + "\r\n");

    const std::vector<std::string> before = TemporaryNamesOfOurs();
    ASSERT_TRUE(RunAsWindows98(Source("register_ok.dll", "OLDER.DLL"), destination));  // 1.2, older than ours
    EXPECT_EQ(ReadFile(wininit), others + ShortPathOf(destination) + "=" + ours + "\r\n");
    EXPECT_EQ(TemporaryNamesOfOurs(), before) << "a copy that nothing will move";
    EXPECT_TRUE(FileExists(theirs));
    EXPECT_TRUE(FileExists(ours));
}
