#include "common/whole_file.h"

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return std::nullopt;
    // Read to the end rather than trusting the size: the file may grow meanwhile.
    std::string bytes;
    char chunk[16384];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr))
            return std::nullopt;
        if (read == 0)
            return bytes;
        bytes.append(chunk, read);
    }
}

HANDLE CreateFileForWriting(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes)
{
    OwnedHandle file(CreateFileForWriting(path));
    return file.IsOpen() && WriteAll(file.get(), bytes);
}

std::optional<uint64_t> OpenFileSize(HANDLE file)
{
    DWORD high = 0;
    // A size whose low half is all ones is told from a failure only by the error.
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return std::nullopt;
    return (static_cast<uint64_t>(high) << 32) | low;
}
