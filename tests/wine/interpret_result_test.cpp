// Every result bit of the version-installation function, in the order the
// engine examines them, answered by a scripted user.
#include <gtest/gtest.h>

#include "setup/install/install_state.h"
#include "setup/install/versioned_install.h"
#include "setup/model/text/records.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;
using namespace testing_support::shown;

namespace {

const char kCaption[] = "MYLIB.DLL";
const char kRemovalFailed[] = "Failed to remove write protection.";
const char kOutOfSpace[] = "The file cannot be saved, because there is insufficient harddisk space.";
const char kCannotCreate[] = "Could not create the file, setup cannot install the file";
const char kOutOfMemory[] = "Out of memory error, file cannot be installed. This may be an internal error.";
const char kCannotReadDestination[] = "Couldn\xB4t read destination, file cannot be installed.";
const char kBufferTooSmall[] = "VIF_BUFFTOOSMALL // INTERNAL ERROR!!!";

class InterpretResult : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        gRecords.files.push_back(FileEntry{});
        gRecords.files[0].disk = 3;
    }
    void TearDown() override { EXPECT_TRUE(prompter.AllAnswersUsed()); }

    InstallVerdict Interpret(DWORD result)
    {
        return InterpretInstallResult(result, {kCaption, "", target, 0}, prompter);
    }
    // A read-only file as the destination being installed.
    void ProtectedTarget()
    {
        target = directory / "PROTECTED.TXT";
        WriteFile(target, "old");
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    bool TargetIsReadOnly() const
    {
        return (GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
    }

    TempDir directory{"interpret"};
    std::string target;
    ScriptedPrompter prompter;
};

}  // namespace

TEST_F(InterpretResult, NoBitIsInstalledWithoutAWord)
{
    EXPECT_EQ(Interpret(0), InstallVerdict::kInstalled);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(InterpretResult, MismatchAsksWithNoAsDefaultAfterTheTemporaryFileMessage)
{
    prompter.Then(IDNO).Then(IDYES);
    EXPECT_EQ(Interpret(VIF_TEMPFILE | VIF_MISMATCH | VIF_SRCOLD), InstallVerdict::kSkipFile);
    EXPECT_EQ(Interpret(VIF_MISMATCH | VIF_DIFFTYPE | VIF_WRITEPROT), InstallVerdict::kForceInstall);
    const Prompt question = Question(kMismatch, kCaption, MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{Message(kTempFile, kCaption), question, question}));
}

TEST_F(InterpretResult, OlderSourceIsSkippedSilently)
{
    EXPECT_EQ(Interpret(VIF_SRCOLD | VIF_DIFFLANG | VIF_CANNOTCREATE), InstallVerdict::kSkipFile);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(InterpretResult, LanguageOrCodePageConflictAsksDialog115UntilInstallAllIsRemembered)
{
    prompter.Then(0).Then(1).Then(2);
    EXPECT_EQ(Interpret(VIF_DIFFLANG), InstallVerdict::kSkipFile);
    EXPECT_EQ(Interpret(VIF_DIFFCODEPG), InstallVerdict::kForceInstall);
    EXPECT_FALSE(gInstall.installAll);
    EXPECT_EQ(Interpret(VIF_DIFFLANG | VIF_DIFFCODEPG), InstallVerdict::kForceInstall);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>(3, LanguageConflictDialog()));

    EXPECT_TRUE(gInstall.installAll);
    EXPECT_EQ(Interpret(VIF_DIFFLANG), InstallVerdict::kForceInstall);
    EXPECT_EQ(prompter.shown.size(), 3u);
}

TEST_F(InterpretResult, InUseBitsEndTheExamination)
{
    EXPECT_EQ(Interpret(VIF_FILEINUSE | VIF_OUTOFSPACE), InstallVerdict::kFileInUse);
    EXPECT_EQ(Interpret(VIF_ACCESSVIOLATION | VIF_SHARINGVIOLATION), InstallVerdict::kFileInUse);
    EXPECT_TRUE(prompter.shown.empty());
    // A held file under Wine: its message first, then the verdict.
    EXPECT_EQ(Interpret(VIF_SHARINGVIOLATION | VIF_CANNOTDELETE), InstallVerdict::kFileInUse);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{Message(kSharingViolation, kCaption)});
}

TEST_F(InterpretResult, EveryFailureMessageInOrderThenAbort)
{
    EXPECT_EQ(Interpret(VIF_BUFFTOOSMALL | VIF_CANNOTREADDST | VIF_OUTOFMEMORY | VIF_CANNOTCREATE |
                        VIF_SHARINGVIOLATION | VIF_OUTOFSPACE | VIF_TEMPFILE),
              InstallVerdict::kAbortRun);
    EXPECT_EQ(prompter.shown,
              (std::vector<Prompt>{Message(kTempFile, kCaption), Message(kOutOfSpace, kCaption),
                                   Message(kSharingViolation, kCaption), Message(kCannotCreate, kCaption),
                                   Message(kOutOfMemory, kCaption), Message(kCannotReadDestination, kCaption),
                                   Message(kBufferTooSmall, kCaption)}));
}

TEST_F(InterpretResult, UnhandledBitsAbortWithoutMessage)
{
    EXPECT_EQ(Interpret(VIF_DIFFTYPE), InstallVerdict::kAbortRun);
    EXPECT_EQ(Interpret(VIF_CANNOTRENAME | VIF_CANNOTDELETECUR), InstallVerdict::kAbortRun);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(InterpretResult, WriteProtectionRemovedOnYes)
{
    ProtectedTarget();
    prompter.Then(IDYES);
    EXPECT_EQ(Interpret(VIF_WRITEPROT | VIF_OUTOFSPACE), InstallVerdict::kForceInstall);
    EXPECT_FALSE(TargetIsReadOnly());
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{Question(kWriteProtected, kCaption, MB_YESNO)});
}

TEST_F(InterpretResult, WriteProtectionKeptOnNoAndExaminationGoesOn)
{
    ProtectedTarget();
    prompter.Then(IDNO);
    EXPECT_EQ(Interpret(VIF_WRITEPROT | VIF_FILEINUSE), InstallVerdict::kFileInUse);
    EXPECT_TRUE(TargetIsReadOnly());
}

TEST_F(InterpretResult, FailedRemovalIsReportedAndExaminationGoesOn)
{
    target = "C:\\no such directory\\PROTECTED.TXT";
    prompter.Then(IDYES);
    EXPECT_EQ(Interpret(VIF_WRITEPROT | VIF_OUTOFSPACE), InstallVerdict::kAbortRun);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{Question(kWriteProtected, kCaption, MB_YESNO),
                                                   Message(kRemovalFailed, kCaption),
                                                   Message(kOutOfSpace, kCaption)}));
}

TEST_F(InterpretResult, UnreadableSourceAsksForTheEntrysDisk)
{
    prompter.Then(IDRETRY).Then(IDIGNORE);
    EXPECT_EQ(Interpret(VIF_CANNOTREADSRC), InstallVerdict::kRetryInstall);
    EXPECT_EQ(Interpret(VIF_CANNOTREADSRC), InstallVerdict::kSkipFile);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>(2, DiskPrompt(3, kCaption)));
}

TEST_F(InterpretResult, AbortThenNoAsksForTheDiskAgainAndAQuitOrABoxNeverSeenEndsTheRun)
{
    gRecords.files[0].disk = -2;
    prompter.Then(IDABORT).Then(IDNO).Then(IDABORT).Then(IDYES);
    EXPECT_EQ(Interpret(VIF_CANNOTREADSRC | VIF_CANNOTREADDST), InstallVerdict::kAbortRun);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{DiskPrompt(-2, kCaption), QuitQuestion(), DiskPrompt(-2, kCaption),
                                                   QuitQuestion()}))
        << "nothing more after the confirmed quit";
    // A box ended by a pending quit returns 0: read as ending, never as asking again.
    prompter.shown.clear();
    prompter.Then(0).Then(IDABORT).Then(0);
    EXPECT_EQ(Interpret(VIF_CANNOTREADSRC), InstallVerdict::kAbortRun);
    EXPECT_EQ(Interpret(VIF_CANNOTREADSRC), InstallVerdict::kAbortRun);
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{DiskPrompt(-2, kCaption), DiskPrompt(-2, kCaption), QuitQuestion()}));
}
