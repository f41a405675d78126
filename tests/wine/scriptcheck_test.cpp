// scriptcheck.exe finds on Windows what the Linux build finds: the same
// findings for every faulty script of tests/scriptcheck, the same exit status.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/support.h"

using testing_support::DirectoryNames;
using testing_support::Env;
using testing_support::Finished;
using testing_support::ReadFile;
using testing_support::RunToEnd;

namespace {

// Runs scriptcheck.exe in `folder` with its output through a pipe.
Finished RunChecker(const std::string& folder, const std::string& arguments)
{
    return RunToEnd("\"" + Env("TESSEL_BIN") + "\\scriptcheck.exe\" " + arguments, folder, 15000, true);
}

std::string WithoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

}  // namespace

TEST(ScriptCheckOnWindows, GivesTheFindingsOfEveryFaultyScript)
{
    const std::string corpus = Env("TESSEL_SOURCE") + "\\tests\\scriptcheck";
    const std::vector<std::string> names = DirectoryNames(corpus, "*.INI");
    EXPECT_GE(names.size(), 20u);

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string stem = name.substr(0, name.size() - 4);
        const std::string expected = ReadFile(corpus + "\\" + stem + ".expected");
        const Finished run = RunChecker(corpus, "--medium medium " + name);
        // The summary line goes to the error output, which shares the pipe here.
        std::string output = WithoutCarriageReturns(run.output);
        const size_t summary = output.find("scriptcheck: ");
        if (summary != std::string::npos)
            output.erase(summary, output.find('\n', summary) + 1 - summary);
        EXPECT_EQ(output, expected);
        EXPECT_EQ(run.exitCode, expected.find(": error: ") != std::string::npos ? 2u : expected.empty() ? 0u : 1u);
    }
}
