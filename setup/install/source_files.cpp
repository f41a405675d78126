#include "setup/install/source_files.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "setup/install/file_system.h"
#include "setup/install/text/install_paths.h"
#include "setup/system/system_libraries.h"
#include "setup/ui/page_framework.h"

namespace {

// Pieces are copied through a buffer of this size, however large they are.
constexpr DWORD kCopyChunk = 64 * 1024;

std::optional<uint32_t> ExpandedSize(const std::string& path)
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
