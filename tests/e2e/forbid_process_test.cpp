// ForbidProcess seen from outside: setup refuses to go on while a program of
// the named file name runs, and goes on otherwise.
#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/driver/driver.h"

using namespace e2e;
using testing_support::Env;
using testing_support::FileExists;
using testing_support::TempDir;

namespace {

// The lingering fixture, copied to a folder of its own under `name` and running.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& name) : dir_("running"), path_(dir_ / name)
    {
        const std::string fixture = Env("TESSEL_BIN") + "\\fixtures\\lingering.exe";
        EXPECT_TRUE(CopyFileA(fixture.c_str(), path_.c_str(), FALSE)) << fixture;
        run_ = std::make_unique<ProgramRun>(path_, dir_.path());
        EXPECT_TRUE(WaitUntil([&] { return FileExists(path_ + ".running"); })) << name << " did not start";
    }
    const std::string& path() const { return path_; }

private:
    TempDir dir_;
    std::string path_;
    std::unique_ptr<ProgramRun> run_;  // ended before its folder goes
};

// Only the last check names the running program as setup must compare it;
// the ones before it (its full path, an empty name, a program not running)
// let the script go on.
void ExpectRefusalOfTheRunningProgram(RunOptions options)
{
    const std::string number = std::to_string(GetCurrentProcessId());
    RunningProgram program("GuardedApp-" + number + ".exe");

    Medium medium;
    medium.WriteScript("ForbidProcess(\"" + program.path() + "\");\n"
                       "ForbidProcess(\"\");\n"
                       "ForbidProcess(\"NotRunning-" + number + ".exe\");\n"
                       "ShowMessage(\"Went on\", \"Guard\", \"\", \"NOW\");\n"
                       "ForbidProcess(\"GUARDEDAPP-" + number + ".EXE\");\n"
                       "ShowMessage(\"Not reached\", \"Guard\", \"\", \"NOW\");\n");
    SetupRun setup(medium, options);
    if (options.windows98)
        setup.ExpectMessageBox("Error", "Wininit.exe not found! Setup can not replace DLLs that are in use!", IDOK);
    setup.ExpectMessageBox("Guard", "Went on", IDOK);
    setup.ExpectMessageBox(
        "Error", "This setup demands that guardedapp-" + number + ".exe does not run. Please close it and try again.",
        IDOK);
    EXPECT_EQ(setup.WaitForExit(), 3);
}

}  // namespace

TEST(ForbidProcess, RefusesWhileTheNamedProgramRunsOnWindowsNt)
{
    ExpectRefusalOfTheRunningProgram({});
}

TEST(ForbidProcess, RefusesWhileTheNamedProgramRunsOnWindows98)
{
    ExpectRefusalOfTheRunningProgram({.windows98 = true});
}
