#include "setup/install/source_files.h"

#include <windows.h>
#include <setupapi.h>

#include <optional>
#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/text/install_paths.h"
#include "setup/install/text/source_header.h"
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
    if (SetupGetFileCompressionInfoA(path.c_str(), &actualName, &sourceSize, &targetSize, &compression) !=
        NO_ERROR)
        return std::nullopt;
    LocalFree(actualName);
    return targetSize;
}

// Plain and SZDD sources tell their installed size by their first bytes and
// their size on disk; nothing for any other source.
std::optional<uint32_t> SizeFromHeader(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    unsigned char header[kSourceHeaderBytes];
    DWORD read = 0;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) ||
        !ReadFile(file.get(), header, sizeof header, &read, nullptr))
        return std::nullopt;
    return InstalledSizeFromHeader(header, read, static_cast<uint64_t>(high) << 32 | low);
}

// The system's query opens the file for itself alone, so it is asked only
// after the header has been read and the file closed.
std::optional<uint32_t> ExpandedSize(const std::string& path)
{
    if (const std::optional<uint32_t> size = SizeFromHeader(path))
        return size;
    return QueriedSize(path);
}

// Copies the whole source to the end of the joined file. When the source
// cannot be read to its end or the copy cannot be written completely, the
// joined file is cut back to where it ended before, so that no partial
// piece stays in it.
bool AppendSource(HANDLE joined, HANDLE source)
{
    LARGE_INTEGER end = {};
    if (!SetFilePointerEx(joined, LARGE_INTEGER{}, &end, FILE_END))
        return false;
    std::vector<char> buffer(kCopyChunk);
    unsigned long long copied = 0;
    bool complete = false;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, buffer.data(), kCopyChunk, &read, nullptr))
            break;
        if (read == 0) {
            LARGE_INTEGER size = {};
            // A source whose size is unknown (not a disk file) counts as complete at its end.
            complete = !GetFileSizeEx(source, &size) || static_cast<unsigned long long>(size.QuadPart) == copied;
            break;
        }
        DWORD written = 0;
        if (!WriteFile(joined, buffer.data(), read, &written, nullptr) || written != read)
            break;
        copied += read;
    }
    if (!complete) {
        SetFilePointerEx(joined, end, nullptr, FILE_BEGIN);
        SetEndOfFile(joined);
    }
    return complete;
}

HANDLE OpenJoinedFile(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenSource(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

uint32_t GetFileEntrySize(std::size_t index, Prompter& prompter)
{
    const FileEntry entry = gRecords.files[index];
    if (!entry.split)
        return ExpandedSize(entry.sourcePath).value_or(0);
    const std::string joinedPath = AppendFilePiece(entry, prompter);
    if (!entry.lastPiece)
        return 0;
    const uint32_t size = ExpandedSize(joinedPath).value_or(0);
    DeleteFileA(joinedPath.c_str());
    return size;
}

std::string AppendFilePiece(const FileEntry& piece, Prompter& prompter)
{
    EnsureWindowsTempDirectory();
    const std::string joinedPath = JoinedFilePath(WindowsDirectory(), piece.destinationPath);
    for (;;) {
        FileHandle joined(OpenJoinedFile(joinedPath));
        FileHandle source(OpenSource(piece.sourcePath));
        if (source.IsOpen() && joined.IsOpen() && AppendSource(joined.get(), source.get()))
            return joinedPath;
        switch (AskForDisk(prompter, piece.disk, piece.sourcePath)) {
        case DiskAnswer::kIgnore:
            return joinedPath;
        case DiskAnswer::kQuit:
            RequestQuit(kQuitAbort);
            return joinedPath;
        default:
            break;
        }
    }
}
