// The variable store and [NAME] expansion.
#include <gtest/gtest.h>

#include "setup/script/text/variables.h"

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
    store.Set("C", "[D]");
    store.Set("D", "z");
    EXPECT_EQ(Expand(store, "[C]"), "z");
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

TEST(Expansion, SelfReferenceEndsWithinItsBounds)
{
    VariableStore store;
    store.Set("A", "[A]");
    EXPECT_EQ(Expand(store, "[A]"), "[A]");  // 4096 replacements, then it stops

    store.Set("B", std::string(100, 'x') + "[B]");  // would pass 64 KiB long before 4096 steps
    const std::string grown = Expand(store, "[B]");
    EXPECT_LE(grown.size(), kMaxExpandedLength);
    EXPECT_GT(grown.size(), kMaxExpandedLength - 103);

    store.Set("C", "ab[C]");  // grows by two at each step, until the replacement limit
    EXPECT_EQ(Expand(store, "[C]").size(), 2u * kMaxReplacements + 3);
}
