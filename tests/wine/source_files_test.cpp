// Installed sizes of file entries, and joining the pieces of a spread file
// with the disk prompt.
#include <gtest/gtest.h>

#include <optional>

#include "setup/install/source_files.h"
#include "setup/script/text/records.h"
#include "tests/support/install_support.h"
#include "tests/support/support.h"

using namespace testing_support;

namespace {

std::string WindowsTemp()
{
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\TEMP";
}

// The quit message that RequestQuit posted, if any (removed from the queue).
std::optional<WPARAM> TakeQuitMessage()
{
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return message.wParam;
    return std::nullopt;
}

class SourceFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        // Destinations differ between test programs and runs, so joined files do too.
        name = "Spread" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".pak";
        joined = WindowsTemp() + "\\" + name + ".ToInstall.TMP";
        DeleteFileA(joined.c_str());
    }
    void TearDown() override
    {
        DeleteFileA(joined.c_str());
        EXPECT_TRUE(prompter.AllAnswersUsed());
        EXPECT_FALSE(TakeQuitMessage());
    }

    FileEntry Piece(const std::string& source, int16_t disk, bool last = false)
    {
        FileEntry entry;
        entry.sourcePath = source;
        entry.destinationPath = "[DP]\\Data\\" + name;
        entry.sectionName = "Main";
        entry.disk = disk;
        entry.split = 1;
        entry.lastPiece = last ? 1 : 0;
        return entry;
    }

    TempDir medium{"medium"};
    std::string name;
    std::string joined;
    ScriptedPrompter prompter;
};

}  // namespace

TEST_F(SourceFiles, WholeFilesCountTheirExpandedSizeAndAbsentOnesNothing)
{
    const std::string plain = FixturePath("readme.txt");
    const std::string compressed = FixturePath("readme.txt_");
    ASSERT_EQ(ReadFile(plain).size(), 14000u);
    ASSERT_LT(ReadFile(compressed).size(), 14000u);
    for (const std::string& source : {plain, compressed, medium / "absent.txt"}) {
        FileEntry entry;
        entry.sourcePath = source;
        entry.destinationPath = "[DP]\\readme.txt";
        gRecords.files.push_back(entry);
    }
    EXPECT_EQ(GetFileEntrySize(0, prompter), 14000u);
    EXPECT_EQ(GetFileEntrySize(1, prompter), 14000u);
    EXPECT_EQ(GetFileEntrySize(2, prompter), 0u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SourceFiles, SpreadFileCountsOnceAtItsLastPieceAndLeavesNoJoinedFile)
{
    const std::string compressed = ReadFile(FixturePath("readme.txt_"));
    const std::size_t third = compressed.size() / 3;
    WriteFile(medium / "piece1", compressed.substr(0, third));
    WriteFile(medium / "piece2", compressed.substr(third, third));
    WriteFile(medium / "piece3", compressed.substr(2 * third));
    gRecords.files = {Piece(medium / "piece1", 1), Piece(medium / "piece2", 2), Piece(medium / "piece3", 3, true)};
    EXPECT_EQ(GetFileEntrySize(0, prompter), 0u);
    EXPECT_EQ(GetFileEntrySize(1, prompter), 0u);
    EXPECT_EQ(ReadFile(joined), compressed.substr(0, 2 * third));
    EXPECT_EQ(GetFileEntrySize(2, prompter), 14000u);
    EXPECT_FALSE(FileExists(joined));
}

TEST_F(SourceFiles, PiecesAreJoinedInOrderAndTheJoinedPathIsHandedOut)
{
    WriteFile(medium / "a", "first ");
    WriteFile(medium / "b", std::string(200000, 'x'));  // more than one copy chunk
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "b", 2, true)};
    EXPECT_EQ(AppendFilePiece(0, prompter).joinedPath, joined);
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kAppended);
    EXPECT_EQ(ReadFile(joined), "first " + std::string(200000, 'x'));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SourceFiles, FirstPieceReplacesAStaleJoinedFile)
{
    WriteFile(joined, "stale ");
    WriteFile(medium / "a", "piece");
    gRecords.files = {Piece(medium / "a", 1)};
    AppendFilePiece(0, prompter);
    EXPECT_EQ(ReadFile(joined), "piece");
}

TEST_F(SourceFiles, RetryAfterTheDiskIsInsertedAppendsThePiece)
{
    const std::string source = medium / "disk2.bin";
    prompter.Then(IDRETRY).Then(IDRETRY, [&] { WriteFile(source, "late"); });
    gRecords.files = {Piece(source, 2)};
    AppendFilePiece(0, prompter);
    EXPECT_EQ(ReadFile(joined), "late");
    EXPECT_EQ(prompter.shown, std::vector<Prompt>(2, DiskPrompt(2, source)));
}

TEST_F(SourceFiles, IgnoredPieceGivesTheFileUpWithoutAskingForTheRest)
{
    WriteFile(medium / "a", "first");
    prompter.Then(IDIGNORE);
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "missing", 2), Piece(medium / "missing", 3, true)};
    EXPECT_EQ(AppendFilePiece(0, prompter).outcome, PieceOutcome::kAppended);
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kIgnored);
    EXPECT_FALSE(FileExists(joined));
    EXPECT_EQ(AppendFilePiece(2, prompter).outcome, PieceOutcome::kFileGivenUp);
    EXPECT_EQ(GetFileEntrySize(2, prompter), 0u);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{DiskPrompt(2, medium / "missing")});
}

TEST_F(SourceFiles, AbortThenNoLooksAgainLikeRetry)
{
    const std::string source = medium / "disk4.bin";
    prompter.Then(IDABORT).Then(IDNO, [&] { WriteFile(source, "found"); });
    gRecords.files = {Piece(source, 4)};
    AppendFilePiece(0, prompter);
    EXPECT_EQ(ReadFile(joined), "found");
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{DiskPrompt(4, source),
                                                   QuitQuestion()}));
}

// Installing ends the run on a quit; measuring requests the quit itself.
TEST_F(SourceFiles, QuitLeavesNoJoinedFileAndMeasuringRequestsIt)
{
    WriteFile(medium / "a", "first");
    prompter.Then(IDABORT).Then(IDYES).Then(IDABORT).Then(IDYES);
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "missing", -1, true)};
    AppendFilePiece(0, prompter);
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kQuit);
    EXPECT_FALSE(FileExists(joined));
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_EQ(GetFileEntrySize(0, prompter), 0u);
    EXPECT_EQ(GetFileEntrySize(1, prompter), 0u);
    EXPECT_EQ(TakeQuitMessage(), std::optional<WPARAM>(2));
    EXPECT_FALSE(FileExists(joined));
    EXPECT_EQ(prompter.shown.front(), DiskPrompt(-1, medium / "missing"));
}

// A pipe whose writer goes away in the middle of the piece stands for a
// medium that fails part-way through a read.
TEST_F(SourceFiles, PieceFailingPartWayIsCutBackOutAndAskedForAgain)
{
    const std::string pipeName = "\\\\.\\pipe\\tessel-piece-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   1 << 20, 1 << 20, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    Helper writer([pipe] {
        ConnectNamedPipe(pipe, nullptr);
        const std::string part(150000, 'p');
        DWORD written = 0;
        ::WriteFile(pipe, part.data(), static_cast<DWORD>(part.size()), &written, nullptr);
        FlushFileBuffers(pipe);
        CloseHandle(pipe);
    });
    WriteFile(medium / "a", "earlier pieces");
    gRecords.files = {Piece(medium / "a", 4), Piece(pipeName, 5)};
    AppendFilePiece(0, prompter);
    std::string atPrompt;
    prompter.Then(IDIGNORE, [&] { atPrompt = ReadFile(joined); });
    AppendFilePiece(1, prompter);
    writer.Join();
    EXPECT_EQ(atPrompt, "earlier pieces");
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{DiskPrompt(5, pipeName)});
}

