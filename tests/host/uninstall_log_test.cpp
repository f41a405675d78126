#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "setup/install/text/uninstall_log_writer.h"

namespace {

const char kHeader[] =
    "ZYNTRAK V1\r\n"
    "\r\n"
    "TESSEL UNINSTALLATION LOG FILE\r\n"
    "\r\n"
    "MAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!\r\n"
    "NO REAL PARSER DOES EXIST, SO DON\xB4" "T MODIFY ANYTHING!\r\n"  // one byte 0xB4
    "ANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU\r\n"
    "COULD BE UNABLE TO RESTART WINDOWS\r\n"
    "\r\n";

class UninstallLog : public ::testing::Test {
protected:
    void TearDown() override
    {
        log.Close();
        std::remove(path.c_str());
    }
    std::string Bytes() const
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::string path = ::testing::TempDir() + "uninstall-log-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    UninstallLogWriter log;
};

}  // namespace

TEST_F(UninstallLog, HeaderDateWithoutLeadingZerosThenFiles)
{
    ASSERT_TRUE(log.Open(path, LogDate{5, 4, 2001}));
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:5/4/2001\r\n[FILES]\r\n");
}

TEST_F(UninstallLog, RecordsRegistrySectionAndKeyInWritingOrder)
{
    ASSERT_TRUE(log.Open(path, LogDate{12, 31, 1999}));
    log.WriteDirectory("C:\\Program Files\\App\\");
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\LIB.DLL");
    log.WriteRegistration(Registration::kRegistered);
    log.WritePrivateFile("C:\\PROGRA~1\\App\\README~1.TXT");
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\OTHER.DLL");
    log.WriteRegistration(Registration::kNotRegistrable);
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\DATA.TXT");
    log.StartRegistrySection();
    log.WriteRegistryKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App");
    log.Close();
    EXPECT_EQ(Bytes(), std::string(kHeader) +
                           "DATE:12/31/1999\r\n"
                           "[FILES]\r\n"
                           "C:\\Program Files\\App\\\r\nDIR\r\n"
                           "C:\\WINDOWS\\SYSTEM\\LIB.DLL\r\nSHARED\r\nAUTOREGSVR\r\n"
                           "C:\\PROGRA~1\\App\\README~1.TXT\r\nNONSHARED\r\n"
                           "C:\\WINDOWS\\SYSTEM\\OTHER.DLL\r\nSHARED\r\nNOAUTOREGSVR\r\n"
                           "C:\\WINDOWS\\SYSTEM\\DATA.TXT\r\nSHARED\r\n"
                           "[REGISTRY]\r\n"
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App\r\n");
}

TEST_F(UninstallLog, EachRecordReachesTheFileAtOnce)
{
    ASSERT_TRUE(log.Open(path, LogDate{1, 1, 2024}));
    log.WriteDirectory("C:\\App");
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 13), "C:\\App\r\nDIR\r\n");
}

TEST_F(UninstallLog, WritesWhileClosedAreDropped)
{
    log.WriteDirectory("C:\\Before");
    ASSERT_TRUE(log.Open(path, LogDate{1, 2, 2003}));
    log.Close();
    log.WritePrivateFile("C:\\AFTER.TXT");
    log.StartRegistrySection();
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:1/2/2003\r\n[FILES]\r\n");
}

TEST_F(UninstallLog, OpeningAgainTruncatesTheEarlierLog)
{
    ASSERT_TRUE(log.Open(path, LogDate{1, 2, 2003}));
    log.WriteDirectory("C:\\First run");
    log.Close();
    ASSERT_TRUE(log.Open(path, LogDate{1, 3, 2003}));
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:1/3/2003\r\n[FILES]\r\n");
}

TEST_F(UninstallLog, UncreatableFileLeavesTheLogClosed)
{
    EXPECT_FALSE(log.Open(::testing::TempDir() + "no-such-directory/Uninstall.log", LogDate{1, 1, 2000}));
    EXPECT_FALSE(log.IsOpen());
    log.WriteDirectory("C:\\App");  // dropped, no crash
}
