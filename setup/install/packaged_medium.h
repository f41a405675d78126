// The medium that a starter runs setup from (common/unpacked_medium.h): its
// files at the top unpacked into the start folder, the files in its folders
// read from the package in the starter's file, so that their bytes are
// written once, at their installed place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <map>
#include <memory>
#include <string>

#include "common/text/payload.h"
#include "common/text/solid_reader.h"
#include "setup/install/progress.h"
#include "setup/model/text/records.h"

// A file of the medium that lies in the package alone.
struct PackagedFile {
    std::string below;    // its path below the medium's folder, as the package spells it
    size_t entry = 0;     // in the package's index
    uint64_t size = 0;
    bool unpacked = false;  // written into the start folder since: read there
    std::string Name() const { return below.substr(below.rfind('\\') + 1); }
};

// The starter's handles are inherited and live as long as setup.
struct PackagedMedium {
    std::string folder;        // the start folder, the medium's [SP]; empty without a starter
    HANDLE package = nullptr;  // the starter's file
    HANDLE checked = nullptr;  // set by the starter once the packaged files are found whole
    HANDLE starter = nullptr;  // the starter's process
    std::map<std::string, PackagedFile> files;  // by their paths below the folder, in lower case
    std::map<std::string, std::string> emptyFolders;  // the same, each as the package spells it
    payload::Package contents;
    std::unique_ptr<payload::SolidReader> streams;  // decodes the files in a solid package's streams
    Progress* readsFollower = nullptr;  // told how far each read got, while the run installs
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

// The folders below `folder` (a path that holds no wildcard) and the files
// whose names match `pattern`, as the package's index lists them; nothing
// when the package does not hold that folder.
std::optional<FoundTree> FindPackagedTree(const std::string& folder, const std::string& pattern);

// The file's last write time as the package records it; false when it records none.
bool PackagedTime(const PackagedFile& file, FILETIME& time);

// While the run installs, every read of a packaged file tells `progress` how
// far into the file it got; null ends that.
void FollowPackagedReads(Progress* progress);

// Exactly `size` bytes of a packaged file from `at`. A file in a stream is
// decoded, in one pass when read in the package's order; its first bytes
// come from the index. A file whose bytes decode wrong ends setup (see
// UnpackPackagedFile).
bool ReadPackagedFile(const PackagedFile& file, uint64_t at, char* buffer, DWORD size);

// Writes a packaged file where the starter would have unpacked it, for the
// calls that read their source from disk themselves: the installation call,
// the Setup API, the joining of pieces. Nothing for a file that is not
// packaged; false when it cannot be written. Every writer of a packaged
// file ends here when it fails, so this is where a stream found damaged
// ends setup, with the starter's message and exit code, once the file that
// failed is gone.
bool UnpackPackagedFile(const std::string& path);
