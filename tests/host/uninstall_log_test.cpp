#include <gtest/gtest.h>

#include <algorithm>
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
    void WriteAt(uint64_t offset, std::string_view bytes) override
    {
        ASSERT_LE(offset, bytes_.size()) << "the file only grows";
        bytes_.replace(offset, std::min(bytes.size(), bytes_.size() - offset), bytes);
    }
    void Flush() override {}

private:
    std::string& bytes_;
};

class LogWriter : public ::testing::Test {
protected:
    void Open(const LogDate& date, const EarlierLog& earlier = {})
    {
        log.Open(std::make_unique<StringOutput>(written), date, earlier);
    }
    const std::string& Bytes() const { return written; }

    std::string written;
    UninstallLogWriter log;
};

}  // namespace

TEST_F(LogWriter, HeaderDateWithoutLeadingZerosThenFiles)
{
    Open(LogDate{5, 4, 2001});
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:5/4/2001\r\n[FILES]\r\n");
}

TEST_F(LogWriter, RecordsRegistrySectionAndKeyInWritingOrder)
{
    Open(LogDate{12, 31, 1999});
    log.WriteDirectory("C:\\Program Files\\App\\");
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\LIB.DLL");
    log.WriteRegistration(Registration::kRegistered);
    log.WritePrivateFile("C:\\PROGRA~1\\App\\README~1.TXT");
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\OTHER.DLL");
    log.WriteRegistration(Registration::kNotRegistrable);
    log.WriteSharedFile("C:\\WINDOWS\\SYSTEM\\DATA.TXT");
    log.WriteRegistrySection("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App");
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

TEST_F(LogWriter, EachRecordReachesTheFileAtOnce)
{
    Open(LogDate{1, 1, 2024});
    log.WriteDirectory("C:\\App");
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 13), "C:\\App\r\nDIR\r\n");
}

TEST_F(LogWriter, WritesWhileClosedAreDropped)
{
    log.WriteDirectory("C:\\Before");
    Open(LogDate{1, 2, 2003});
    log.Close();
    log.WritePrivateFile("C:\\AFTER.TXT");
    log.WriteRegistrySection("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App");
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:1/2/2003\r\n[FILES]\r\n");
}

TEST_F(LogWriter, RecordsAfterTheRegistrySectionGoBeforeItSoTheFileIsAWholeLogAtEveryMoment)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    Open(LogDate{1, 1, 2024});
    log.WriteDirectory("C:\\App\\");
    log.WriteRegistrySection(key);
    const std::string head = std::string(kHeader) + "DATE:1/1/2024\r\n[FILES]\r\nC:\\App\\\r\nDIR\r\n";
    EXPECT_EQ(Bytes(), head + "[REGISTRY]\r\n" + key + "\r\n");
    log.WritePrivateFile("C:\\APP\\A.TXT");
    EXPECT_EQ(Bytes(), head + "C:\\APP\\A.TXT\r\nNONSHARED\r\n[REGISTRY]\r\n" + key + "\r\n");
}

// An upgrade keeps the first version's records ahead of its own and writes
// none twice; another product's log is kept whole, key and all, and its
// shared files are this product's to count again.
TEST_F(LogWriter, EarlierLogIsCarriedForwardWithoutDuplicatesOfTheSameProduct)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    const std::string otherKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other";
    const std::string earlierBytes = std::string(kHeader) + "DATE:5/5/2005\r\n[FILES]\r\n"
                                     "C:\\App\\\r\nDIR\r\nC:\\APP\\A.TXT\r\nNONSHARED\r\n"
                                     "C:\\SYS\\LIB.DLL\r\nSHARED\r\nAUTOREGSVR\r\nC:\\APP\\A.TXT\r\nNONSHARED\r\n"
                                     "[REGISTRY]\r\n";
    const std::string carried = "C:\\App\\\r\nDIR\r\nC:\\APP\\A.TXT\r\nNONSHARED\r\n"
                                "C:\\SYS\\LIB.DLL\r\nSHARED\r\nAUTOREGSVR\r\n";

    const EarlierLog same = ReadEarlierLog(earlierBytes + "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\APP\r\n", key);
    ASSERT_TRUE(same.sameProduct);
    Open(LogDate{6, 6, 2006}, same);
    EXPECT_TRUE(log.HoldsSharedFile("C:\\SYS\\LIB.DLL"));
    EXPECT_FALSE(log.WritePrivateFile("C:\\APP\\A.TXT"));
    EXPECT_FALSE(log.WriteSharedFile("C:\\SYS\\LIB.DLL"));
    log.WriteRegistration(Registration::kRegistered);
    EXPECT_TRUE(log.WritePrivateFile("C:\\APP\\DOCS\\C.TXT"));
    log.WriteRegistrySection(key);
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:6/6/2006\r\n[FILES]\r\n" + carried +
                           "C:\\APP\\DOCS\\C.TXT\r\nNONSHARED\r\n[REGISTRY]\r\n" + key + "\r\n");

    written.clear();
    const EarlierLog other = ReadEarlierLog(earlierBytes + otherKey + "\r\n", key);
    ASSERT_FALSE(other.sameProduct);
    Open(LogDate{6, 6, 2006}, other);
    EXPECT_FALSE(log.HoldsSharedFile("C:\\SYS\\LIB.DLL"));
    EXPECT_TRUE(log.WriteSharedFile("C:\\SYS\\LIB.DLL"));
    EXPECT_FALSE(log.WritePrivateFile("C:\\APP\\A.TXT"));
    log.WriteRegistrySection(key);
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:6/6/2006\r\n[FILES]\r\n" + carried +
                           "C:\\APP\\A.TXT\r\nNONSHARED\r\nC:\\SYS\\LIB.DLL\r\nSHARED\r\n[REGISTRY]\r\n" + otherKey +
                           "\r\n" + key + "\r\n");
}

// Unskein leaves its log when it removes the product: an installation into
// the folder afterwards is a fresh one. The shared files' counts went with
// the entry, so their records go too and the files are counted again; the
// other records stay once, and their files are the product's own.
TEST_F(LogWriter, ALogWhoseEntryIsGoneStartsAFreshInstallation)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    const EarlierLog removed =
        ReadEarlierLog(std::string(kHeader) + "DATE:5/5/2005\r\n[FILES]\r\nC:\\APP\\UNSKEIN.EXE\r\nNONSHARED\r\n"
                       "C:\\SYS\\LIB.DLL\r\nSHARED\r\nAUTOREGSVR\r\n[REGISTRY]\r\n" + key + "\r\n",
                       key, false);
    ASSERT_TRUE(removed.removed);
    ASSERT_FALSE(removed.sameProduct);
    Open(LogDate{6, 6, 2006}, removed);
    EXPECT_FALSE(log.HoldsSharedFile("C:\\SYS\\LIB.DLL"));
    EXPECT_TRUE(log.EarlierInstallationRemoved());
    EXPECT_TRUE(log.EarlierLogListsOwnFile("c:\\app\\unskein.exe"));
    EXPECT_TRUE(log.EarlierLogListsOwnFile("C:\\SYS\\LIB.DLL"));
    EXPECT_FALSE(log.EarlierLogListsOwnFile("C:\\APP\\OTHER.TXT"));
    EXPECT_FALSE(log.WritePrivateFile("C:\\APP\\UNSKEIN.EXE"));
    EXPECT_TRUE(log.WriteSharedFile("C:\\SYS\\LIB.DLL"));
    log.WriteRegistrySection(key);
    EXPECT_EQ(Bytes(), std::string(kHeader) + "DATE:6/6/2006\r\n[FILES]\r\nC:\\APP\\UNSKEIN.EXE\r\nNONSHARED\r\n"
                           "C:\\SYS\\LIB.DLL\r\nSHARED\r\n[REGISTRY]\r\n" + key + "\r\n");
}
