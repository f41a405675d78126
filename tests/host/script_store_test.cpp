// The tokeniser: how SetupScript.INI becomes calls.
#include <gtest/gtest.h>

#include "setup/model/text/script_store.h"

namespace {

ScriptStore Load(const std::string& bytes)
{
    ScriptStore store;
    store.Tokenize(ToScriptText(bytes));
    return store;
}

using Args = std::vector<std::string>;

void ExpectEntry(const ScriptStore& store, int index, const std::string& name, const Args& args)
{
    ASSERT_LT(index, store.EntryCount());
    EXPECT_EQ(store.Entries()[index].name, name) << "entry " << index;
    EXPECT_EQ(store.Entries()[index].arguments, args) << "entry " << index;
}

}  // namespace

TEST(Tokenizer, EmptyCommentsAndSeparatorsYieldNoEntries)
{
    EXPECT_EQ(Load("").EntryCount(), 0);
    EXPECT_EQ(Load("// only a comment\n;;;  \n\t// another\n").EntryCount(), 0);
}

TEST(Tokenizer, CallsWithQuotedArguments)
{
    const ScriptStore store = Load("SetAppName(\"My App\");\nShowMessage(\"He said \"\"hi\"\"\",\"Title\",\"\",\"NOW\")\n");
    ASSERT_EQ(store.EntryCount(), 2);
    ExpectEntry(store, 0, "SetAppName", {"My App"});
    ExpectEntry(store, 1, "ShowMessage", {"He said \"hi\"", "Title", "", "NOW"});
}

TEST(Tokenizer, UnquotedWordsAndNumbersAreNotArguments)
{
    const ScriptStore store = Load("SetRedrawWait(100);\nF(\"a\", 7, word, \"b\");");
    ExpectEntry(store, 0, "SetRedrawWait", {});
    ExpectEntry(store, 1, "F", {"a", "b"});
}

TEST(Tokenizer, BlankBeforeParenthesisSplitsTheCall)
{
    const ScriptStore store = Load("SetAppName (\"X\")");
    ASSERT_EQ(store.EntryCount(), 2);
    ExpectEntry(store, 0, "SetAppName", {});
    ExpectEntry(store, 1, "X", {});
}

TEST(Tokenizer, CallsRunTogetherWithoutSeparator)
{
    ExpectEntry(Load("SetCaption(\"a\")SetAppName(\"b\")"), 0, "SetCaptionSetAppName", {"a", "b"});
    ExpectEntry(Load("F(\"a\")(\"b\")"), 0, "F", {"a", "b"});
}

TEST(Tokenizer, CommentsCountOnlyBetweenCalls)
{
    const ScriptStore direct = Load("SetAppName(\"x\")// note\n");
    ASSERT_EQ(direct.EntryCount(), 2);
    ExpectEntry(direct, 1, "note", {});
    EXPECT_EQ(Load("SetAppName(\"x\"); // note\n").EntryCount(), 1);
    // Inside an argument list "//" is skipped, but a quoted text there is still an argument.
    ExpectEntry(Load("AddWindow(\"P\", // comment \"c\"\n \"d\")"), 0, "AddWindow", {"P", "c", "d"});
    // A name ends at the first character that is no letter or digit.
    ExpectEntry(Load("ShowWelcome// x\n"), 1, "x", {});
}

TEST(Tokenizer, LineEndsAndTheEndOfTextMarker)
{
    const std::string lf = "SetAppName(\"a\nb\");\nShowDest();\n";
    const std::string crlf = "SetAppName(\"a\r\nb\");\r\nShowDest();\r\n";
    const ScriptStore a = Load(lf), b = Load(crlf);
    ASSERT_EQ(a.EntryCount(), 2);
    ASSERT_EQ(b.EntryCount(), 2);
    EXPECT_EQ(a.Entries()[0].arguments, b.Entries()[0].arguments);
    EXPECT_EQ(b.Entries()[0].arguments[0], "a\nb");
    // A lone CR stays in the text.
    EXPECT_EQ(Load("F(\"a\rb\")").Entries()[0].arguments[0], "a\rb");
    // 0x1A ends the text.
    EXPECT_EQ(Load(std::string("A();\x1A") + "B();").EntryCount(), 1);
}

TEST(Tokenizer, UnterminatedArgumentKeepsTheRestOfTheText)
{
    ExpectEntry(Load("SetAppName(\"abc"), 0, "SetAppName", {"abc"});
    // A quote inside ends the argument early; what follows the next quote runs to the end.
    ExpectEntry(Load("F(\"a\", \"b; G(\"c\")\n"), 0, "F", {"a", "b; G(", ")\n"});
    ExpectEntry(Load("F(\"a\""), 0, "F", {"a"});
}

TEST(Tokenizer, NamesAreLettersAndDigitsAsTheTestSays)
{
    // setup classifies by the system's code page; here a test that also accepts 0xE4.
    ScriptStore store;
    store.Tokenize("Gr\xE4\xDF" "e(\"x\")", [](unsigned char c) { return IsAsciiLetterOrDigit(c) || c == 0xE4; });
    ASSERT_EQ(store.EntryCount(), 2);
    EXPECT_EQ(store.Entries()[0].name, "Gr\xE4");
    EXPECT_EQ(store.Entries()[1].name, "e");
    EXPECT_EQ(store.Entries()[1].arguments, Args{"x"});
}

TEST(Tokenizer, RecordsWhereEachCallBegins)
{
    const ScriptStore store = Load("// head\n  SetAppName(\"a\r\nb\");\r\n\tShowDest();");
    ASSERT_EQ(store.EntryCount(), 2);
    EXPECT_EQ(store.Entries()[0].line, 2);
    EXPECT_EQ(store.Entries()[0].column, 3);
    EXPECT_EQ(store.Entries()[1].line, 4);
    EXPECT_EQ(store.Entries()[1].column, 2);
}

TEST(ScriptStore, EntriesHoldNamesAndArguments)
{
    const ScriptStore store = Load("A(\"1\",\"2\");B;");
    ASSERT_EQ(store.EntryCount(), 2);
    EXPECT_EQ(store.Entries()[0].name, "A");
    EXPECT_EQ(store.Entries()[0].arguments, (Args{"1", "2"}));
    EXPECT_EQ(store.Entries()[1].name, "B");
    EXPECT_TRUE(store.Entries()[1].arguments.empty());
}
