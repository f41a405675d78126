// Directories made for the installation and the dated log header.
#include <gtest/gtest.h>

#include <cstdio>

#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/uninstall_log.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;

TEST(EnsureDirectory, ExistingCreatedAndImpossible)
{
    TempDir root("ensure");
    std::vector<std::string> created;
    EXPECT_EQ(EnsureDirectory(root.path(), created), 0);
    EXPECT_TRUE(created.empty());

    const std::string nested = root / "App\\Sub\\Deeper\\";  // as an installation directory is written
    EXPECT_EQ(EnsureDirectory(nested, created), 1);
    EXPECT_EQ(created, (std::vector<std::string>{root / "App", root / "App\\Sub", nested}));
    EXPECT_TRUE(DirectoryExists(root / "App\\Sub\\Deeper"));

    WriteFile(root / "file", "in the way");
    created.clear();
    EXPECT_EQ(EnsureDirectory(root / "file", created), -1);
    EXPECT_EQ(EnsureDirectory(root / "file\\below", created), -1);
    WriteFile(root / "a.txt", "in the way");
    EXPECT_EQ(EnsureDirectory(root / "a.txt\\Sub", created), -1);
    EXPECT_TRUE(created.empty());
}

TEST(EnsureDirectory, OverlongPathFailsWithoutCreatingAnything)
{
    TempDir root("ensure");
    std::vector<std::string> created;
    EXPECT_EQ(EnsureDirectory(root / "made\\" + std::string(300, 'x'), created), -1);
    EXPECT_TRUE(created.empty());
    EXPECT_FALSE(DirectoryExists(root / "made"));
}

// The file replaces an earlier log, gets each record at once, is dated
// today; one that cannot be created leaves the log closed.
TEST(UninstallLogFile, ReplacesAnEarlierLogAndCarriesTodaysLocalDate)
{
    TempDir directory("log");
    WriteFile(directory / "Uninstall.log", std::string(5000, 'x'));
    SYSTEMTIME today;
    GetLocalTime(&today);
    ASSERT_TRUE(OpenUninstallLog(directory.path() + "\\\\Uninstall.log", "Key"));  // DP's backslash doubled
    gInstall.log.WriteDirectory("C:\\App");
    char date[32];
    std::snprintf(date, sizeof date, "DATE:%u/%u/%u\r\n[FILES]\r\n", today.wMonth, today.wDay, today.wYear);
    const std::string tail = std::string(date) + "C:\\App\r\nDIR\r\n";
    const std::string bytes = ReadFile(directory / "Uninstall.log");
    gInstall.log.Close();
    EXPECT_EQ(bytes.substr(0, 12), "ZYNTRAK V1\r\n");
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

    EXPECT_FALSE(OpenUninstallLog(directory / "missing\\Uninstall.log", "Key"));
    EXPECT_FALSE(gInstall.log.IsOpen());
    gInstall.log.WriteDirectory("C:\\App");  // dropped
}

TEST(ShortPath, AgreesWithTheSystemAlsoForFilesOfADirectoryAskedBefore)
{
    TempDir root("short path");
    CreateDirectoryA((root / "A Long Directory Name").c_str(), nullptr);
    const std::vector<std::string> paths = {
        root / "A Long Directory Name\\A Long File Name.txt",
        root / "A Long Directory Name\\Another Long File Name.txt",  // its directory is known by now
        root / "A Long Directory Name\\SHORT.TXT",
        root / "lower.txt",
        root / "A Long Directory Name",
        root / "A Long Directory Name\\",
    };
    for (const std::string& path : paths)
        if (path.back() != '\\' && !DirectoryExists(path))
            WriteFile(path, "x");
    const std::string atRoot = "C:\\Tessel Short Path " + std::to_string(GetCurrentProcessId()) + ".txt";
    WriteFile(atRoot, "x");
    for (const std::string& path : {paths[0], paths[1], paths[2], paths[3], paths[4], paths[5], atRoot}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ShortPath(path), ShortPathOf(path));
    }
    DeleteFileA(atRoot.c_str());
    EXPECT_EQ(ShortPath(root / "A Long Directory Name\\missing.txt"), std::nullopt);
    EXPECT_EQ(ShortPath(root / "A Long Directory Name\\*.txt"), std::nullopt);
}
