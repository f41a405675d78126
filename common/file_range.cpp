#include "common/file_range.h"

bool ReadExactlyAt(HANDLE file, uint64_t offset, char* buffer, DWORD size)
{
    LONG high = static_cast<LONG>(offset >> 32);
    // A low half of all ones is told from a failure only by the error.
    SetLastError(NO_ERROR);
    if (SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return false;
    while (size > 0) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, size, &read, nullptr))
            return false;
        if (read == 0) {
            SetLastError(NO_ERROR);
            return false;
        }
        buffer += read;
        size -= read;
    }
    return true;
}
