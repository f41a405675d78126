// What Unskein reads of shortcuts and tells of files it cannot remove at once.
#include <gtest/gtest.h>

#include "common/text/log_records.h"
#include "uninstall/text/logged_links.h"
#include "uninstall/text/removal_texts.h"

TEST(LoggedLinks, ShortcutAndTargetComeBackAndDamagedRecordsArePassedOver)
{
    UninstallLog log;
    log.records = {{EncodeLogFields({"C:\\Menu\\Site.lnk", "http://example.com/a|b"}), "LINK", ""},
                   {"C:\\Menu\\Bad.lnk", "LINK", ""},  // one field
                   {"C:\\Menu\\Odd%zz|x", "LINK", ""},
                   {EncodeLogFields({"C:\\App\\a.exe", "x"}), "NONSHARED", ""}};
    const std::vector<LoggedLink> links = LoggedLinks(log);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].shortcut, "C:\\Menu\\Site.lnk");
    EXPECT_EQ(links[0].target, "http://example.com/a|b");
}

TEST(RemovalTexts, TenFilesAreNamedAndTheRestCounted)
{
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i)
        files.push_back("C:\\App\\f" + std::to_string(i));
    const std::string text = FilesInUseText(files);
    EXPECT_NE(text.find("C:\\App\\f9\nand 2 more\n\nClose the programs"), std::string::npos) << text;
    EXPECT_EQ(text.find("f10"), std::string::npos);
}
