#include <gtest/gtest.h>

#include <memory>
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

// Collects what the writer hands to its file.
class StringOutput : public LogOutput {
public:
    explicit StringOutput(std::string& bytes) : bytes_(bytes) {}
    void Append(std::string_view bytes) override { bytes_ += bytes; }

private:
    std::string& bytes_;
};

class UninstallLog : public ::testing::Test {
protected:
    void Open(const LogDate& date) { log.Open(std::make_unique<StringOutput>(written), date); }
    const std::string& Bytes() const { return written; }

    std::string written;
    UninstallLogWriter log;
};

}  // namespace

TEST_F(UninstallLog, HeaderDateWithoutLeadingZerosThenFiles)
{
    Open(LogDate{5, 4, 2001});
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:5/4/2001\r\n[FILES]\r\n");
}

TEST_F(UninstallLog, RecordsRegistrySectionAndKeyInWritingOrder)
{
    Open(LogDate{12, 31, 1999});
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
    Open(LogDate{1, 1, 2024});
    log.WriteDirectory("C:\\App");
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 13), "C:\\App\r\nDIR\r\n");
}

TEST_F(UninstallLog, WritesWhileClosedAreDropped)
{
    log.WriteDirectory("C:\\Before");
    Open(LogDate{1, 2, 2003});
    log.Close();
    log.WritePrivateFile("C:\\AFTER.TXT");
    log.StartRegistrySection();
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:1/2/2003\r\n[FILES]\r\n");
}
