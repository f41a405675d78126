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

TEST(UninstallLogFile, HeaderCarriesTodaysLocalDate)
{
    TempDir directory("log");
    SYSTEMTIME today;
    GetLocalTime(&today);
    ASSERT_TRUE(OpenUninstallLog(directory.path() + "\\\\Uninstall.log"));  // DP's backslash doubled
    gInstall.log.Close();
    char date[32];
    std::snprintf(date, sizeof date, "DATE:%u/%u/%u\r\n[FILES]\r\n", today.wMonth, today.wDay, today.wYear);
    const std::string bytes = ReadFile(directory / "Uninstall.log");
    ASSERT_GE(bytes.size(), std::string(date).size());
    EXPECT_EQ(bytes.substr(bytes.size() - std::string(date).size()), date);
}
