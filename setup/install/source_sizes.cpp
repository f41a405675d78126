#include "setup/install/source_sizes.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "setup/install/file_system.h"
#include "setup/install/packaged_medium.h"
#include "setup/install/text/installation_run.h"
#include "setup/install/text/source_header.h"
#include "setup/model/text/records.h"
#include "setup/system/system_libraries.h"

namespace {

// The first bytes of a source and its size on disk.
struct SourceStart {
    unsigned char header[kSourceHeaderBytes];
    DWORD count = 0;
    uint64_t size = 0;
    bool Compressed() const { return LooksCompressed(header, count); }
};

std::optional<SourceStart> ReadSourceStart(const std::string& path)
{
    if (const PackagedFile* packaged = FindPackagedFile(path)) {
        SourceStart start;
        start.count = static_cast<DWORD>(std::min<uint64_t>(packaged->size, sizeof start.header));
        start.size = packaged->size;
        if (!ReadPackagedFile(*packaged, 0, reinterpret_cast<char*>(start.header), start.count))
            return std::nullopt;
        return start;
    }
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    SourceStart start;
    const std::optional<uint64_t> size = OpenFileSize(file.get());
    if (!size || !ReadFile(file.get(), start.header, sizeof start.header, &start.count, nullptr))
        return std::nullopt;
    start.size = *size;
    return start;
}

// The Setup API's answer, which costs as much as copying a small file. It
// reads the file itself, so a packaged one is unpacked for it.
std::optional<uint32_t> QueriedSize(const std::string& path)
{
    UnpackPackagedFile(path);
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
// their size on disk; the system is asked about any other. Its query opens
// the file for itself alone, so it is asked only once the file is closed.
std::optional<uint32_t> ExpandedSize(const std::string& path)
{
    if (const std::optional<SourceStart> start = ReadSourceStart(path))
        if (const std::optional<uint32_t> size = InstalledSizeFromHeader(start->header, start->count, start->size))
            return size;
    return QueriedSize(path);
}

uint32_t SpreadPieceSize(std::size_t index)
{
    const std::size_t first = FirstPieceIndex(gRecords.files, index);
    const std::optional<SourceStart> start = ReadSourceStart(gRecords.files[first].sourcePath);
    if (start && start->Compressed())
        return index == first ? ExpandedSize(gRecords.files[first].sourcePath).value_or(0) : 0;
    const std::optional<SourceStart> own = index == first ? start : ReadSourceStart(gRecords.files[index].sourcePath);
    return own && own->size <= UINT32_MAX ? static_cast<uint32_t>(own->size) : 0;
}

}  // namespace

uint32_t GetFileEntrySize(std::size_t index)
{
    const FileEntry& entry = gRecords.files[index];
    if (entry.split)
        return SpreadPieceSize(index);
    return ExpandedSize(entry.sourcePath).value_or(0);
}

bool IsCompressedSource(const std::string& path)
{
    const std::optional<SourceStart> start = ReadSourceStart(path);
    return start && start->Compressed();
}
