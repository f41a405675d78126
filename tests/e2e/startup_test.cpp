// Start-up and the carrying out of the script, seen from outside.
#include <gtest/gtest.h>

#include "tests/e2e/driver/driver.h"

using namespace e2e;

TEST(Startup, MissingScriptEndsWithItsMessage)
{
    Medium medium;
    SetupRun setup(medium);
    setup.ExpectMessageBox("Fatal error",
                           "Could not open 'SetupScript.INI' in setup directory. Setup cannot be continued.", IDOK);
    EXPECT_EQ(setup.WaitForExit(), 1);
}

TEST(Startup, EmptyScriptShowsTheBackgroundAndEnds)
{
    Medium medium;
    medium.WriteScript("");
    SetupRun setup(medium);
    EXPECT_EQ(setup.WaitForExit(), 0);
}
