// scriptcheck as an author runs it: the findings it prints for the faulty
// scripts of tests/scriptcheck, its exit status, and the example scripts of
// the script reference, which must load and check clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "setup/model/text/commands.h"
#include "setup/model/text/script_store.h"
#include "tests/host/host_support.h"

namespace fs = std::filesystem;
using namespace host_support;

namespace {

const fs::path kSource = TESSEL_SOURCE_DIR;
const fs::path kCorpus = kSource / "tests" / "scriptcheck";


// The checker is built beside this test program.
CommandRun RunChecker(const fs::path& folder, const std::string& arguments)
{
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "scriptcheck";
    // A sanitizer's report must not pass for the exit status of warnings.
    return RunCommand("cd '" + folder.string() + "' && ASAN_OPTIONS=exitcode=86 UBSAN_OPTIONS=exitcode=86 '" +
                      program.string() + "' " + arguments + " 2>/dev/null");
}

struct Block {
    int line;  // of the opening fence
    std::string text;
};

// The blocks fenced with "```<language>" in a document, from the line
// `heading` on (from the start when it is empty).
std::vector<Block> FencedBlocks(const fs::path& document, const std::string& language,
                                const std::string& heading = "")
{
    std::ifstream file(document);
    std::vector<Block> blocks;
    bool reached = heading.empty(), inside = false;
    int number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        reached = reached || line == heading;
        if (!reached)
            continue;
        if (!inside && line == "```" + language) {
            inside = true;
            blocks.push_back({number, ""});
        } else if (inside && line == "```") {
            inside = false;
        } else if (inside) {
            blocks.back().text += line + "\n";
        }
    }
    return blocks;
}

const fs::path kReference = kSource / "docs" / "script-reference.md";

class Recorder : public TokenizeObserver {
public:
    void OnCharacter(TokenRule rule, const TextPosition& at) override { seen.push_back({rule, at}); }
    struct Seen {
        TokenRule rule;
        TextPosition at;
    };
    std::vector<Seen> seen;
};

}  // namespace

TEST(ScriptCheck, EveryFaultyScriptGivesItsExpectedFindings)
{
    int cases = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".INI")
            continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::string expected = ReadFile(fs::path(entry.path()).replace_extension(".expected"));
        const CommandRun run = RunChecker(kCorpus, "--medium medium " + name);
        EXPECT_EQ(run.output, expected);
        const int status = expected.find(": error: ") != std::string::npos ? 2 : expected.empty() ? 0 : 1;
        EXPECT_EQ(run.status, status);
        ++cases;
    }
    EXPECT_GE(cases, 20);
}

TEST(ScriptCheck, SearchesTheScriptsFolderUnlessGivenAnotherAndLeavesTheScriptAsItWas)
{
    TempFolder temp{"scriptcheck"};
    const fs::path script = temp.Path() / "cd" / "SetupScript.INI";
    const std::string text = "SetAppName(\"Demo\");\n"
                             "CreateSection(\"Main\", \"1\", \"0\", \"\");\n"
                             "AddFile(\"[SP]\\FILES\\*.TXT\", \"[DP]\\\", \"Main\", \"0\", \"1\", \"0\", \"0\", \"0\", "
                             "\"0\", \"\");\n";
    WriteFile(script, text);
    WriteFile(temp.Path() / "cd" / "Files" / "read me.txt", "x");
    WriteFile(temp.Path() / "other" / "files" / "notes.doc", "x");
    const auto written = fs::last_write_time(script);

    CommandRun run = RunChecker(temp.Path(), "cd/SetupScript.INI");
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.status, 0);

    run = RunChecker(temp.Path(), "--medium other cd/SetupScript.INI");
    EXPECT_EQ(run.output, "cd/SetupScript.INI:3:9: warning: the source pattern '[SP]\\FILES\\*.TXT' matches no file "
                          "in the medium folder 'other': setup adds nothing\n");
    EXPECT_EQ(run.status, 1);

    EXPECT_EQ(ReadFile(script), text);
    EXPECT_EQ(fs::last_write_time(script), written);
}

TEST(ScriptCheck, EndsWithStatusThreeWhenItCannotCheck)
{
    TempFolder temp{"scriptcheck"};
    WriteFile(temp.Path() / "SetupScript.INI", "ShowWelcome;\n");
    EXPECT_EQ(RunChecker(temp.Path(), "").status, 3);
    EXPECT_EQ(RunChecker(temp.Path(), "Missing.INI").status, 3);
    EXPECT_EQ(RunChecker(temp.Path(), "--medium nowhere SetupScript.INI").status, 3);
    EXPECT_EQ(RunChecker(temp.Path(), "SetupScript.INI Second.INI").status, 3);
    const CommandRun help = RunChecker(temp.Path(), "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: scriptcheck [--medium FOLDER] SCRIPT"), std::string::npos);
}

TEST(ScriptReference, EveryExampleScriptLoadsAndChecksClean)
{
    const std::vector<Block> examples = FencedBlocks(kReference, "ini");
    ASSERT_GE(examples.size(), 8u);
    TempFolder temp{"scriptcheck"};
    for (const Block& example : examples) {
        SCOPED_TRACE("example at line " + std::to_string(example.line) + " of docs/script-reference.md");
        ScriptStore store;
        store.Tokenize(ToScriptText(example.text));
        ASSERT_GT(store.EntryCount(), 0);
        for (const ScriptEntry& entry : store.Entries()) {
            const CommandInfo* info = FindCommand(entry.name);
            ASSERT_TRUE(info) << entry.name;
            EXPECT_EQ(static_cast<int>(entry.arguments.size()), info->argumentCount) << entry.name;
        }
        WriteFile(temp.Path() / "SetupScript.INI", example.text);
        const CommandRun run = RunChecker(temp.Path(), "--medium '" + (kCorpus / "medium").string() + "' SetupScript.INI");
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.status, 0);
    }
}

TEST(ScriptReference, ShowsWhatTheCheckerSaysAboutItsCommonMistakes)
{
    const std::vector<Block> blocks = FencedBlocks(kReference, "text", "### Common mistakes");
    ASSERT_GE(blocks.size(), 2u);
    TempFolder temp{"scriptcheck"};
    WriteFile(temp.Path() / "SetupScript.INI", blocks[0].text);
    const CommandRun run = RunChecker(temp.Path(), "--medium '" + (kCorpus / "medium").string() + "' SetupScript.INI");
    EXPECT_EQ(run.output, blocks[1].text);
    EXPECT_EQ(run.status, 2);
}

TEST(TokenizeObserver, LearnsTheRuleThatTookEachCharacter)
{
    const std::string text = "A(\"x\"\"\" 1)B//c\nC ;//d\n\"";
    Recorder recorder;
    ScriptStore store;
    store.Tokenize(text, IsAsciiLetterOrDigit, &recorder);
    using R = TokenRule;
    std::vector<R> rules;
    for (const Recorder::Seen& seen : recorder.seen)
        rules.push_back(seen.rule);
    EXPECT_EQ(rules, (std::vector<R>{R::NameStart, R::ListOpen, R::QuoteOpen, R::QuotedChar, R::DoubledQuote,
                                     R::QuoteClose, R::DroppedInList, R::DroppedInList, R::ListClose, R::NameChar,
                                     R::NameEnd, R::Skipped, R::NameStart, R::NameEnd, R::NameStart, R::NameEnd,
                                     R::Separator, R::CommentStart, R::Comment, R::Comment, R::Comment,
                                     R::Skipped}));
    ASSERT_EQ(recorder.seen.size(), 22u);
    EXPECT_EQ(recorder.seen[14].at.line, 2);
    EXPECT_EQ(recorder.seen[14].at.column, 1);
}

TEST(TokenizeObserver, SeesEveryCharacterOnceAndChangesNothing)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".INI")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string text = ToScriptText(ReadFile(entry.path()));
        ScriptStore plain, observed;
        Recorder recorder;
        plain.Tokenize(text);
        observed.Tokenize(text, IsAsciiLetterOrDigit, &recorder);

        ASSERT_EQ(plain.EntryCount(), observed.EntryCount());
        for (int i = 0; i < plain.EntryCount(); ++i) {
            const ScriptEntry &a = plain.Entries()[i], &b = observed.Entries()[i];
            EXPECT_EQ(a.name, b.name);
            EXPECT_EQ(a.arguments, b.arguments);
            EXPECT_EQ(a.line, b.line);
            EXPECT_EQ(a.column, b.column);
        }
        // The second quote of a doubled pair goes with the first.
        size_t next = 0;
        for (const Recorder::Seen& seen : recorder.seen) {
            ASSERT_EQ(seen.at.offset, next);
            next += seen.rule == TokenRule::DoubledQuote ? 2 : 1;
        }
        EXPECT_EQ(next, text.size());
    }
}
