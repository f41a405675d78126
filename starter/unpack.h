// The starter's steps on the file system: its own package read from its
// file, a folder of its own under TEMP, the medium written into it, and the
// folder removed again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/handles.h"
#include "common/text/payload.h"

// The program's own file, read at any offset. Opened by its wide name on
// Windows NT, which holds whatever letters its folder's name has.
class ProgramFile : public payload::Source {
public:
    ProgramFile();
    bool IsOpen() const { return size_.has_value(); }
    uint64_t Size() const { return size_.value_or(0); }
    HANDLE Handle() const { return file_.get(); }
    bool ReadAt(uint64_t offset, char* buffer, size_t size) override;
    // The system's error of the open or read that failed, as opposed to a
    // package that is cut or changed; 0 when none failed.
    DWORD Error() const { return error_; }

private:
    OwnedHandle file_;
    std::optional<uint64_t> size_;
    DWORD error_ = 0;
};

// What went wrong on the way; the message names what failed.
struct Failure {
    enum Kind { kNone, kDamaged, kCannotRead, kCannotWrite } kind = kNone;
    std::string message;  // for kCannotWrite
};

// Creates a new folder under the user's TEMP folder, under a name that no one
// can predict, never one that exists already; on Windows NT only the user
// may use it. Empty, with `failure` set, when none can be made.
std::string CreatePrivateFolder(Failure& failure);

// Writes the files of the package that do not stay in it below `folder`,
// decoding those in a stream, checking each file's checksum as it is read.
// `progress` gets how many bytes are written so far.
Failure Unpack(ProgramFile& program, const payload::Package& package, const std::string& folder,
               payload::Progress* progress);

// Removes the folder and everything in it. What a program still holds open
// is removed at the next restart where Windows can do that (Windows NT).
void RemoveFolder(const std::string& folder);
