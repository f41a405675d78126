// Installed sizes of file entries, and joining the pieces of a spread file
// in setup's own temporary folder with the disk prompt.
#include <gtest/gtest.h>

#include <optional>

#include "setup/install/install_state.h"
#include "setup/install/source_files.h"
#include "setup/install/source_sizes.h"
#include "setup/install/temporary_folder.h"
#include "setup/model/text/records.h"
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
    }
    void TearDown() override
    {
        RemoveSetupTemporaryFolder();
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

    // Appends the piece and returns where it was joined.
    std::string Append(std::size_t index)
    {
        const JoinedPiece piece = AppendFilePiece(index, prompter);
        if (!piece.joinedPath.empty())
            joined = piece.joinedPath;
        return piece.joinedPath;
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
    EXPECT_EQ(GetFileEntrySize(0), 14000u);
    EXPECT_EQ(GetFileEntrySize(1), 14000u);
    EXPECT_EQ(GetFileEntrySize(2), 0u);
}

// Measuring reads the pieces at hand and nothing else: the second piece of
// each file is on another disk, and nothing is asked, joined or written.
TEST_F(SourceFiles, SpreadFilesCountWithoutJoiningFromTheFirstPiecesHeaderOrThePiecesAtHand)
{
    const std::string compressed = ReadFile(FixturePath("readme.txt_"));
    const std::size_t half = compressed.size() / 2;
    WriteFile(medium / "packed1", compressed.substr(0, half));
    WriteFile(medium / "packed3", compressed.substr(half));
    WriteFile(medium / "plain1", "12345");
    WriteFile(medium / "plain3", "123");
    gRecords.files = {Piece(medium / "packed1", 1), Piece(medium / "packed2", 2), Piece(medium / "packed3", 3, true),
                      Piece(medium / "plain1", 1), Piece(medium / "plain2", 2), Piece(medium / "plain3", 3, true)};
    for (std::size_t index = 3; index < 6; ++index)
        gRecords.files[index].destinationPath += ".plain";
    const std::vector<uint32_t> sizes = {14000, 0, 0, 5, 0, 3};
    for (std::size_t index = 0; index < sizes.size(); ++index)
        EXPECT_EQ(GetFileEntrySize(index), sizes[index]) << index;
    EXPECT_TRUE(gInstall.temporaryFolder.empty()) << "no folder made";
    EXPECT_TRUE(gInstall.joinedFiles.empty());
}

TEST_F(SourceFiles, PiecesAreJoinedInOrderAndTheJoinedPathIsHandedOut)
{
    WriteFile(medium / "a", "first ");
    WriteFile(medium / "b", std::string(200000, 'x'));  // more than one copy chunk
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "b", 2, true)};
    const std::string path = Append(0);
    EXPECT_EQ(AppendFilePiece(1, prompter).joinedPath, path);
    EXPECT_EQ(ReadFile(joined), "first " + std::string(200000, 'x'));
    EXPECT_TRUE(prompter.shown.empty());
    // In a folder of setup's own with a name of its own, gone with it.
    const std::string folder = gInstall.temporaryFolder;
    EXPECT_EQ(folder.rfind(WindowsTemp() + "\\Tessel-", 0), 0u) << folder;
    EXPECT_EQ(path, folder + "\\" + name + ".ToInstall.TMP");
    RemoveSetupTemporaryFolder();
    EXPECT_FALSE(DirectoryExists(folder));
}

// Every file is created new: a file of the old, predictable name stays
// as it is, and two files of one name are joined side by side.
TEST_F(SourceFiles, EachSpreadFileIsJoinedInAFileCreatedNew)
{
    const std::string stale = WindowsTemp() + "\\" + name + ".ToInstall.TMP";
    WriteFile(stale, "stale ");
    WriteFile(medium / "a", "piece a");
    WriteFile(medium / "b", "piece b");
    gRecords.files = {Piece(medium / "a", 1, true), Piece(medium / "b", 1, true)};
    gRecords.files[1].destinationPath = "[DP]\\Other\\" + name;
    const std::string first = Append(0);
    const std::string second = Append(1);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadFile(first), "piece a");
    EXPECT_EQ(ReadFile(second), "piece b");
    EXPECT_EQ(ReadFile(stale), "stale ");
    DeleteFileA(stale.c_str());
    // What someone else put into the folder is left there, and the folder with it.
    const std::string folder = gInstall.temporaryFolder;
    WriteFile(folder + "\\planted", "x");
    RemoveSetupTemporaryFolder();
    EXPECT_FALSE(FileExists(first));
    EXPECT_TRUE(FileExists(folder + "\\planted"));
    DeleteFileA((folder + "\\planted").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(SourceFiles, RetryAfterTheDiskIsInsertedAppendsThePiece)
{
    const std::string source = medium / "disk2.bin";
    prompter.Then(IDRETRY).Then(IDRETRY, [&] { WriteFile(source, "late"); });
    gRecords.files = {Piece(source, 2)};
    Append(0);
    EXPECT_EQ(ReadFile(joined), "late");
    EXPECT_EQ(prompter.shown, std::vector<Prompt>(2, DiskPrompt(2, source)));
}

TEST_F(SourceFiles, IgnoredPieceGivesTheFileUpWithoutAskingForTheRest)
{
    WriteFile(medium / "a", "first");
    prompter.Then(IDIGNORE);
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "missing", 2), Piece(medium / "missing", 3, true)};
    Append(0);
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kIgnored);
    EXPECT_FALSE(FileExists(joined));
    EXPECT_EQ(AppendFilePiece(2, prompter).outcome, PieceOutcome::kFileGivenUp);
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{DiskPrompt(2, medium / "missing")});
}

TEST_F(SourceFiles, AbortThenNoLooksAgainLikeRetry)
{
    const std::string source = medium / "disk4.bin";
    prompter.Then(IDABORT).Then(IDNO, [&] { WriteFile(source, "found"); });
    gRecords.files = {Piece(source, 4)};
    Append(0);
    EXPECT_EQ(ReadFile(joined), "found");
    EXPECT_EQ(prompter.shown, (std::vector<Prompt>{DiskPrompt(4, source),
                                                   QuitQuestion()}));
}

// Installing ends the run on a quit, which the caller requests.
TEST_F(SourceFiles, QuitLeavesNoJoinedFile)
{
    WriteFile(medium / "a", "first");
    prompter.Then(IDABORT).Then(IDYES);
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "missing", -1, true)};
    Append(0);
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kQuit);
    EXPECT_FALSE(FileExists(joined));
    EXPECT_FALSE(TakeQuitMessage());
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
    Append(0);
    std::string atPrompt;
    prompter.Then(IDIGNORE, [&] { atPrompt = ReadFile(joined); });
    AppendFilePiece(1, prompter);
    writer.Join();
    EXPECT_EQ(atPrompt, "earlier pieces");
    EXPECT_EQ(prompter.shown, std::vector<Prompt>{DiskPrompt(5, pipeName)});
}


// A joined file that cannot be written is no missing disk: the message
// says what failed, and Retry goes on once it is fixed.
TEST_F(SourceFiles, JoinedFileThatCannotBeWrittenIsReportedAndRetried)
{
    WriteFile(medium / "a", "one, ");
    WriteFile(medium / "b", "two");
    gRecords.files = {Piece(medium / "a", 1), Piece(medium / "b", 2, true)};
    Append(0);
    HANDLE holder = CreateFileA(joined.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    prompter.Then(IDRETRY, [&] { CloseHandle(holder); });
    EXPECT_EQ(AppendFilePiece(1, prompter).outcome, PieceOutcome::kAppended);
    EXPECT_EQ(ReadFile(joined), "one, two");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Temporary file");
    EXPECT_EQ(prompter.shown[0].text.rfind("Setup cannot write the temporary file " + joined + ": ", 0), 0u)
        << prompter.shown[0].text;
}
