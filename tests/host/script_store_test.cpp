#include <gtest/gtest.h>

#include "setup/script/text/script_store.h"

TEST(Tokenizer, OneCall)
{
    ScriptStore store;
    store.Tokenize("SetAppName(\"My App\");");
    ASSERT_EQ(store.EntryCount(), 1);
    EXPECT_EQ(store.Entries()[0].name, "SetAppName");
}
