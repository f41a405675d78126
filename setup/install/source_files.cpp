#include "setup/install/source_files.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "common/system_error.h"
#include "setup/install/file_system.h"
#include "setup/install/install_state.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/temporary_folder.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"

namespace {

// Pieces are copied through a buffer of this size, however large they are.
constexpr DWORD kCopyChunk = 64 * 1024;

// Which side of a piece's copy failed, with the system's error for the
// joined file.
struct CopyFailure {
    enum Side { kNone, kSource, kJoined } side = kNone;
    DWORD error = NO_ERROR;
};

CopyFailure JoinedFileFailure()
{
    const DWORD error = GetLastError();
    return {CopyFailure::kJoined, error == NO_ERROR ? ERROR_DISK_FULL : error};
}

// Whether the source was read to its end; a source whose size is unknown
// (not a disk file) counts as complete there.
bool IsReadToEnd(HANDLE source, unsigned long long copied)
{
    const std::optional<uint64_t> size = OpenFileSize(source);
    return !size || *size == copied;
}

// Copies the whole source to the end of the joined file. When the source
// cannot be read to its end or the copy cannot be written completely, the
// joined file is cut back to where it ended before, so that no partial
// piece stays in it.
CopyFailure AppendSource(HANDLE joined, HANDLE source)
{
    LONG endHigh = 0;
    SetLastError(NO_ERROR);
    const DWORD endLow = SetFilePointer(joined, 0, &endHigh, FILE_END);
    if (endLow == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return JoinedFileFailure();
    std::vector<char> buffer(kCopyChunk);
    unsigned long long copied = 0;
    CopyFailure failure;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, buffer.data(), kCopyChunk, &read, nullptr)) {
            failure.side = CopyFailure::kSource;
            break;
        }
        if (read == 0) {
            if (!IsReadToEnd(source, copied))
                failure.side = CopyFailure::kSource;
            break;
        }
        DWORD written = 0;
        SetLastError(NO_ERROR);
        if (!WriteFile(joined, buffer.data(), read, &written, nullptr) || written != read) {
            failure = JoinedFileFailure();
            break;
        }
        copied += read;
    }
    if (failure.side != CopyFailure::kNone) {
        SetFilePointer(joined, static_cast<LONG>(endLow), &endHigh, FILE_BEGIN);
        SetEndOfFile(joined);
    }
    return failure;
}

// Every piece finds the joined file as the earlier pieces left it.
HANDLE OpenJoinedFile(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenSource(const std::string& path)
{
    UnpackPackagedFile(path);
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A full or locked TEMP folder is no missing disk: says what failed.
// True when the user wants to try again.
bool AskToRetryJoinedFile(Prompter& prompter, const std::string& path, DWORD error)
{
    const std::string text = "Setup cannot write the temporary file " + path + ": " + SystemErrorSentence(error) +
                             "\n\nMake room on its drive or close the program that uses it, then choose Retry. "
                             "Cancel ends setup.";
    return prompter.ShowMessage(MessageOwner::kBackground, text, "Temporary file", MB_RETRYCANCEL | MB_ICONERROR) ==
           IDRETRY;
}

// One attempt at the piece. Both files are closed again before anyone is
// asked, so that the user can free or inspect them meanwhile.
CopyFailure TryAppendPiece(const FileEntry& piece, const std::string& joinedPath)
{
    OwnedHandle joined(OpenJoinedFile(joinedPath));
    if (!joined.IsOpen())
        return JoinedFileFailure();
    OwnedHandle source(OpenSource(piece.sourcePath));
    if (!source.IsOpen())
        return {CopyFailure::kSource};
    return AppendSource(joined.get(), source.get());
}

PieceOutcome JoinPiece(const FileEntry& piece, const std::string& joinedPath, Prompter& prompter)
{
    for (;;) {
        const CopyFailure failure = TryAppendPiece(piece, joinedPath);
        switch (failure.side) {
        case CopyFailure::kNone:
            return PieceOutcome::kAppended;
        case CopyFailure::kJoined:
            if (!AskToRetryJoinedFile(prompter, joinedPath, failure.error))
                return PieceOutcome::kQuit;
            break;
        case CopyFailure::kSource:
            switch (AskForDisk(prompter, piece.disk, piece.sourcePath)) {
            case DiskAnswer::kIgnore:
                return PieceOutcome::kIgnored;
            case DiskAnswer::kQuit:
                return PieceOutcome::kQuit;
            default:
                break;
            }
            break;
        }
    }
}

// A new joined file for the spread file that the piece begins, made by
// this call so that no one else can have put bytes into it or hold it.
// Nothing when the user gives up.
std::optional<std::string> CreateJoinedFile(const FileEntry& piece, Prompter& prompter)
{
    for (;;) {
        std::string path;
        OwnedHandle joined(CreateTemporaryFile(JoinedFileName(piece.destinationPath), path));
        if (joined.IsOpen())
            return path;
        const DWORD error = GetLastError();
        if (!AskToRetryJoinedFile(prompter, path.empty() ? WindowsDirectory().path + "\\TEMP" : path,
                                  error == NO_ERROR ? ERROR_DISK_FULL : error))
            return std::nullopt;
    }
}

}  // namespace

JoinedPiece AppendFilePiece(std::size_t index, Prompter& prompter)
{
    const FileEntry& piece = gRecords.files[index];
    auto& joinedFiles = gInstall.joinedFiles;
    if (IsFirstPiece(gRecords.files, index)) {
        const std::optional<std::string> created = CreateJoinedFile(piece, prompter);
        if (!created)
            return {"", PieceOutcome::kQuit};
        joinedFiles[piece.destinationPath] = *created;
    }
    const auto known = joinedFiles.find(piece.destinationPath);
    // An earlier piece was left out, and the file with it.
    if (known == joinedFiles.end())
        return {"", PieceOutcome::kFileGivenUp};
    const JoinedPiece joined{known->second, JoinPiece(piece, known->second, prompter)};
    // Every piece carries the time of the file it was cut from.
    if (joined.outcome == PieceOutcome::kAppended && piece.lastPiece)
        CopyLastWriteTime(piece.sourcePath, joined.joinedPath);
    if (joined.outcome == PieceOutcome::kIgnored || joined.outcome == PieceOutcome::kQuit)
        DeleteFileA(joined.joinedPath.c_str());
    if (joined.outcome != PieceOutcome::kAppended || piece.lastPiece)
        joinedFiles.erase(known);
    return joined;
}

HANDLE HoldJoinedFile(const std::string& joinedPath)
{
    return CreateFileA(joinedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
