// The medium that a starter runs setup from (common/unpacked_medium.h): its
// files at the top unpacked into the start folder, the files in its folders
// read from the package in the starter's file, so that their bytes are
// written once, at their installed place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <map>
#include <string>

// A file of the medium that lies in the package alone.
struct PackagedFile {
    std::string below;    // its path below the medium's folder, as the package spells it
    uint64_t offset = 0;  // of its bytes in the starter's file
    uint64_t size = 0;
    bool unpacked = false;  // written into the start folder since: read there
    uint64_t time = 0;      // its last write time (FILETIME); 0 when the package records none
    std::string Name() const { return below.substr(below.rfind('\\') + 1); }
};

// The starter's handles are inherited and live as long as setup.
struct PackagedMedium {
    std::string folder;        // the start folder, the medium's [SP]; empty without a starter
    HANDLE package = nullptr;  // the starter's file
    HANDLE checked = nullptr;  // set by the starter once the packaged files are found whole
    HANDLE starter = nullptr;  // the starter's process
    std::map<std::string, PackagedFile> files;  // by their paths below the folder, in lower case
};

// Takes the starter's word out of the environment, so that no program that
// setup starts inherits it, and reads the package's index through the
// handle. A word that does not name the start folder (inherited by a setup
// that runs from anywhere else), or a handle that holds no package, leaves
// the medium the start folder alone.
void TakePackagedMedium(const std::string& startFolder);

// Waits out the splash, `splashMs`, and under a starter for as long as it
// still checks the packaged files. False when the starter ended first: no
// file may be installed then.
bool WaitForCheckedPackage(DWORD splashMs);

// The file at `path` when the package holds it and it was not unpacked;
// null otherwise.
PackagedFile* FindPackagedFile(const std::string& path);

// The file's last write time as the package records it; false when it records none.
bool PackagedTime(const PackagedFile& file, FILETIME& time);

// Exactly `size` bytes of the starter's file at `offset`.
bool ReadPackageBytes(uint64_t offset, char* buffer, DWORD size);

// Writes a packaged file where the starter would have unpacked it, for the
// calls that read their source from disk themselves: the installation call,
// the Setup API, the joining of pieces. Nothing for a file that is not
// packaged; false when it cannot be written.
bool UnpackPackagedFile(const std::string& path);
