#include "setup/install/source_files.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "common/system_error.h"
#include "setup/install/file_system.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/text/source_header.h"
#include "setup/system/system_libraries.h"
#include "setup/ui/page_framework.h"

namespace {

// Pieces are copied through a buffer of this size, however large they are.
constexpr DWORD kCopyChunk = 64 * 1024;

// The Setup API's answer, which costs as much as copying a small file.
std::optional<uint32_t> QueriedSize(const std::string& path)
{
    PSTR actualName = nullptr;
    DWORD sourceSize = 0;
    DWORD targetSize = 0;
    UINT compression = 0;
    if (sys::SetupGetFileCompressionInfoA(path.c_str(), &actualName, &sourceSize, &targetSize, &compression) !=
        NO_ERROR)
        return std::nullopt;
    LocalFree(actualName);
    return targetSize;
}

// Plain and SZDD sources tell their installed size by their first bytes and
// their size on disk; nothing for any other source.
std::optional<uint32_t> SizeFromHeader(const std::string& path)
{
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    unsigned char header[kSourceHeaderBytes];
    DWORD read = 0;
    const std::optional<uint64_t> size = OpenFileSize(file.get());
    if (!size || !ReadFile(file.get(), header, sizeof header, &read, nullptr))
        return std::nullopt;
    return InstalledSizeFromHeader(header, read, *size);
}

// The system's query opens the file for itself alone, so it is asked only
// after the header has been read and the file closed.
std::optional<uint32_t> ExpandedSize(const std::string& path)
{
    if (const std::optional<uint32_t> size = SizeFromHeader(path))
        return size;
    return QueriedSize(path);
}

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

// The first piece starts the joined file anew; a later one finds it as the
// earlier pieces left it.
HANDLE OpenJoinedFile(const std::string& path, bool firstPiece)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, firstPiece ? CREATE_ALWAYS : OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenSource(const std::string& path)
{
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
CopyFailure TryAppendPiece(const FileEntry& piece, const std::string& joinedPath, bool firstPiece)
{
    OwnedHandle joined(OpenJoinedFile(joinedPath, firstPiece));
    if (!joined.IsOpen())
        return JoinedFileFailure();
    OwnedHandle source(OpenSource(piece.sourcePath));
    if (!source.IsOpen())
        return {CopyFailure::kSource};
    return AppendSource(joined.get(), source.get());
}

PieceOutcome JoinPiece(const FileEntry& piece, const std::string& joinedPath, bool firstPiece, Prompter& prompter)
{
    for (;;) {
        const CopyFailure failure = TryAppendPiece(piece, joinedPath, firstPiece);
        switch (failure.side) {
        case CopyFailure::kNone:
            return PieceOutcome::kAppended;
        case CopyFailure::kJoined:
            // Only a piece left out before removes the joined file of a later one.
            if (!firstPiece && failure.error == ERROR_FILE_NOT_FOUND)
                return PieceOutcome::kFileGivenUp;
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

}  // namespace

uint32_t GetFileEntrySize(std::size_t index, Prompter& prompter)
{
    const FileEntry& entry = gRecords.files[index];
    if (!entry.split)
        return ExpandedSize(entry.sourcePath).value_or(0);
    const JoinedPiece piece = AppendFilePiece(index, prompter);
    if (piece.outcome == PieceOutcome::kQuit)
        RequestQuit(kQuitAbort);
    if (piece.outcome != PieceOutcome::kAppended || !entry.lastPiece)
        return 0;
    const uint32_t size = ExpandedSize(piece.joinedPath).value_or(0);
    DeleteFileA(piece.joinedPath.c_str());
    return size;
}

JoinedPiece AppendFilePiece(std::size_t index, Prompter& prompter)
{
    const FileEntry& piece = gRecords.files[index];
    EnsureWindowsTempDirectory();
    JoinedPiece joined{JoinedFilePath(WindowsDirectory(), piece.destinationPath), PieceOutcome::kAppended};
    joined.outcome = JoinPiece(piece, joined.joinedPath, IsFirstPiece(gRecords.files, index), prompter);
    if (joined.outcome == PieceOutcome::kIgnored || joined.outcome == PieceOutcome::kQuit)
        DeleteFileA(joined.joinedPath.c_str());
    return joined;
}
