// Apart from whole_file.cpp: the starter, which links that, never replaces a
// file and must not import what this calls.
#include "common/whole_file.h"

bool ReplaceWholeFile(const std::string& path, std::string_view bytes)
{
    const std::string directory = path.substr(0, path.rfind('\\') + 1);
    // GetTempFileNameA adds a name of up to 12 characters.
    char written[MAX_PATH] = {};
    char previous[MAX_PATH] = {};
    if (directory.size() + 13 >= MAX_PATH || !GetTempFileNameA(directory.c_str(), "tsl", 0, written))
        return false;
    if (!WriteWholeFile(written, bytes) || !GetTempFileNameA(directory.c_str(), "tsl", 0, previous)) {
        DeleteFileA(written);
        return false;
    }
    // Windows 95, 98 and ME cannot move over an existing file: the old one
    // steps aside first and comes back if the new one cannot take its place.
    DeleteFileA(previous);
    if (!MoveFileA(path.c_str(), previous)) {
        DeleteFileA(written);
        return false;
    }
    if (!MoveFileA(written, path.c_str())) {
        MoveFileA(previous, path.c_str());
        DeleteFileA(written);
        return false;
    }
    DeleteFileA(previous);
    return true;
}
