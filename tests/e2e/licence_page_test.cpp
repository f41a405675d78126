// The licence and text pages: a file shown whole, Next only while the
// agreement is accepted, and a missing file that ends setup.
#include <gtest/gtest.h>

#include <algorithm>

#include "setup/ui/resources/resource_ids.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/install_checks.h"

using namespace e2e;

namespace {

// Over 64 KB, the most Windows 95's edit field holds.
std::string LongLicence()
{
    std::string text;
    for (int line = 1; line <= 3000; ++line)
        text += "Line " + std::to_string(line) + " of the agreement, which the user reads to its end.\r\n";
    return text + "The end.";
}

std::string WithoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

}  // namespace

TEST(LicencePage, ShowsTheWholeFileAndGoesOnOnlyWhileAccepted)
{
    Medium medium;
    const std::string licence = LongLicence();
    ASSERT_GT(licence.size(), 65536u);
    medium.AddFile("licence.txt", licence);
    medium.AddFile("notes.txt", "Read me first.");
    medium.WriteScript(ScriptCall("ShowLicence", {"[SP]\\licence.txt"}) +
                       ScriptCall("ShowText", {"[SP]\\notes.txt", "Release notes"}));
    for (bool windows98 : {false, true}) {
        SCOPED_TRACE(windows98 ? "Windows 98" : "Windows NT");
        SetupRun setup(medium, {windows98});
        setup.AnswerWininitMissing();
        const Page page = setup.WaitForPage(IDC_LICENCE_ACCEPT);
        EXPECT_EQ(page.Title(), "Licence agreement");
        // Compared without printing: a difference would print the whole licence.
        EXPECT_TRUE(WithoutCarriageReturns(page.Text(IDC_LICENCE_TEXT)) == WithoutCarriageReturns(licence));
        EXPECT_TRUE(page.IsChecked(IDC_LICENCE_DECLINE));
        EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, false));
        page.Click(IDC_LICENCE_ACCEPT);
        EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
        page.Click(IDC_LICENCE_DECLINE);
        EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, false));
        page.Click(IDC_LICENCE_ACCEPT);
        EXPECT_TRUE(page.WaitForEnabled(IDC_PAGE_NEXT, true));
        page.Click(IDC_PAGE_NEXT);

        const Page text(setup, NextDialogWith(setup, IDC_LICENCE_TEXT, page.window()));
        EXPECT_EQ(text.Title(), "Release notes");
        EXPECT_EQ(text.Text(IDC_LICENCE_HEADING), "Release notes");
        EXPECT_EQ(text.Text(IDC_LICENCE_TEXT), "Read me first.");
        EXPECT_FALSE(text.IsVisible(IDC_LICENCE_ACCEPT));
        EXPECT_TRUE(text.WaitForEnabled(IDC_PAGE_NEXT, true));
        text.Click(IDC_PAGE_NEXT);
        EXPECT_EQ(setup.WaitForExit(), 0);
    }
}

TEST(LicencePage, AMissingFileIsSaidAndEndsSetup)
{
    Medium medium;
    medium.WriteScript(ScriptCall("ShowLicence", {"[SP]\\missing.txt"}) +
                       ScriptCall("ShowMessage", {"never", "Accepted", "", "NOW"}));
    SetupRun setup(medium);
    setup.ExpectMessageBox("Fatal error",
                           "Setup cannot read the file " + (medium / "missing.txt") + ". Setup cannot be continued.",
                           IDOK);
    EXPECT_EQ(setup.WaitForExit(), 4);
}

TEST(RequireWindows, EndsSetupOnAnOlderOrExcludedWindows)
{
    struct Case {
        std::string windows9x, windowsNt;
        bool windows98;
        std::string message;  // empty: setup goes on
    };
    const Case cases[] = {
        {"0", "5.1", true, "This program needs Windows XP or later. Setup cannot be continued."},
        {"0", "5.1", false, ""},
        {"4.90", "5.1", true, "This program needs Windows ME, or Windows XP or later. Setup cannot be continued."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows9x + " " + c.windowsNt + (c.windows98 ? " on 98" : ""));
        Medium medium;
        medium.WriteScript(ScriptCall("RequireWindows", {c.windows9x, c.windowsNt}) +
                           ScriptCall("ShowMessage", {"goes on", "Setup", "", "NOW"}));
        SetupRun setup(medium, {c.windows98});
        setup.AnswerWininitMissing();
        if (c.message.empty()) {
            setup.ExpectMessageBox("Setup", "goes on", IDOK);
            EXPECT_EQ(setup.WaitForExit(), 0);
        } else {
            setup.ExpectMessageBox("Windows version", c.message, IDOK);
            EXPECT_EQ(setup.WaitForExit(), 5);
        }
    }
}
