#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/log_records.h"

using Fields = std::vector<std::string>;

TEST(LogRecords, FieldsOfAnyBytesComeBackAsWritten)
{
    const Fields fields = {"", "C:\\Program Files\\A|B", "100%", std::string("a\r\nb\0c", 6), "\"quoted\"", ""};
    const std::string line = EncodeLogFields(fields);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(line, "|C:\\Program Files\\A%7CB|100%25|a%0D%0Ab%00c|\"quoted\"|");
    EXPECT_EQ(DecodeLogFields(line, fields.size()), fields);
}

TEST(LogRecords, LinesNoWriterMakesAreRefused)
{
    EXPECT_FALSE(DecodeLogFields("a|b", 3));      // another field count
    EXPECT_FALSE(DecodeLogFields("a%7", 1));      // a cut escape
    EXPECT_FALSE(DecodeLogFields("a%7c", 1));     // lower case is never written
    EXPECT_FALSE(DecodeLogFields("a%70", 1));     // nor an escaped byte that needs none
    EXPECT_FALSE(DecodeLogFields("a\tb", 1));     // a raw control character
    EXPECT_EQ(LogKindOf("REGVALUE"), LogKind::kRegistryValue);
    EXPECT_FALSE(LogKindOf("NONSHARED"));
}
