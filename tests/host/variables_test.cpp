// The variable store and [NAME] expansion.
#include <gtest/gtest.h>

#include "setup/model/text/variables.h"

namespace {

std::string Expand(VariableStore& store, std::string text)
{
    ExpandVariables(store, text);
    return text;
}

}  // namespace

TEST(Variables, ReadingCreatesAnEmptyVariable)
{
    VariableStore store;
    EXPECT_EQ(store.Get("DP"), "");
    EXPECT_EQ(store.Count(), 1u);
    store.Set("DP", "C:\\x");
    EXPECT_EQ(store.Get("DP"), "C:\\x");
    EXPECT_EQ(store.Get("dp"), "");  // names are case-sensitive
}

TEST(Expansion, ReplacesReferencesLeftToRightAndAgain)
{
    VariableStore store;
    store.Set("APPNAME", "Foo");
    store.Set("A", "x");
    store.Set("B", "y");
    EXPECT_EQ(Expand(store, "[APPNAME] Setup"), "Foo Setup");
    EXPECT_EQ(Expand(store, "[A][B]"), "xy");
    store.Set("C", "[D");  // a bracket in a value combines with the text after it
    store.Set("D", "z");
    EXPECT_EQ(Expand(store, "[C]]"), "z");
}

TEST(Expansion, ValuesFromOutsideAndValuesHoldingReferencesAreLiteral)
{
    VariableStore store;
    store.Set("v2", "gone");
    store.SetOutside("SP", "D:\\Setup [v2");
    EXPECT_EQ(Expand(store, "[SP]]\\*.*"), "D:\\Setup [v2]\\*.*");
    store.Set("SRC", Expand(store, "[SP]]\\Data"));  // derived from outside text
    EXPECT_EQ(Expand(store, "[SRC]\\[v2]"), "D:\\Setup [v2]\\Data\\gone");
    store.Set("SP", "E:\\[v2");  // set by the script again: read as before
    EXPECT_EQ(Expand(store, "[SP]]"), "E:\\gone");
}

TEST(Expansion, MissingAndEmptyNames)
{
    VariableStore store;
    store.Set("A", "x");
    EXPECT_EQ(Expand(store, "[NOSUCH]x"), "x");
    EXPECT_EQ(store.Get("NOSUCH"), "");
    EXPECT_EQ(Expand(store, "[]"), "");
    EXPECT_EQ(Expand(store, "[[A]]"), "]");  // the name is "[A", which is empty
}

TEST(Expansion, TextsWithoutACompleteReferenceStay)
{
    VariableStore store;
    store.Set("A", "x");
    EXPECT_EQ(Expand(store, "a[b"), "a[b");
    EXPECT_EQ(Expand(store, "a]b"), "a]b");
    VariableStore empty;
    EXPECT_EQ(Expand(empty, "[A]"), "[A]");  // an empty store expands nothing
}

TEST(Expansion, ClosingBracketIsSearchedAfterTheOpening)
{
    VariableStore store;
    store.Set("z", "Z");
    EXPECT_EQ(Expand(store, "x]y[z]"), "x]yZ");
    EXPECT_EQ(Expand(store, "]]["), "]][");
}

TEST(Expansion, EndsWithinItsBounds)
{
    VariableStore store;
    store.Set("E", "");
    std::string many;
    for (int i = 0; i < kMaxReplacements + 3; ++i)
        many += "[E]";
    EXPECT_EQ(Expand(store, many), "[E][E][E]");  // 4096 replacements, then it stops

    store.Set("L", std::string(1000, 'x'));
    std::string longer;
    for (int i = 0; i < 100; ++i)
        longer += "[L]";
    const std::string grown = Expand(store, longer);  // would pass 64 KiB
    EXPECT_LE(grown.size(), kMaxExpandedLength);
    EXPECT_GT(grown.size(), kMaxExpandedLength - 1003);
}
