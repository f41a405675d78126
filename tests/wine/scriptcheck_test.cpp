// scriptcheck.exe finds on Windows what the Linux build finds: the same
// findings for every faulty script of tests/scriptcheck, the same exit status.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/support.h"

using testing_support::Env;
using testing_support::ReadFile;

namespace {

struct CheckRun {
    std::string output;
    DWORD status;
};

// Runs scriptcheck.exe in `folder` with its output through a pipe.
CheckRun RunChecker(const std::string& folder, const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return {"", DWORD(-1)};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + Env("TESSEL_BIN") + "\\scriptcheck.exe\" " + arguments;
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, folder.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    CheckRun run{"", DWORD(-1)};
    if (started) {
        char buffer[4096];
        for (DWORD n; ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0;)
            run.output.append(buffer, n);
        WaitForSingleObject(process.hProcess, 15000);
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return run;
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
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((corpus + "\\*.INI").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::string> names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_GE(names.size(), 20u);

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string stem = name.substr(0, name.size() - 4);
        const std::string expected = ReadFile(corpus + "\\" + stem + ".expected");
        const CheckRun run = RunChecker(corpus, "--medium medium " + name);
        // The summary line goes to the error output, which shares the pipe here.
        std::string output = WithoutCarriageReturns(run.output);
        const size_t summary = output.find("scriptcheck: ");
        if (summary != std::string::npos)
            output.erase(summary, output.find('\n', summary) + 1 - summary);
        EXPECT_EQ(output, expected);
        EXPECT_EQ(run.status, expected.find(": error: ") != std::string::npos ? 2u : expected.empty() ? 0u : 1u);
    }
}
