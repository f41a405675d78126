// The medium that the starter unpacked for this setup and removes once setup
// has ended (common/unpacked_medium.h). Its files are this setup's to give
// away: a plain one becomes the installed file by a second link, without
// its bytes being written again.
#pragma once

#include <string>

// The start folder when the starter unpacked the medium there for this
// setup, empty otherwise. Takes the starter's word out of the environment,
// so that no program that setup starts inherits it.
std::string TakeUnpackedMedium(const std::string& startFolder);

// Whether the file lies in the unpacked medium (gInstall.unpackedMedium).
bool IsInUnpackedMedium(const std::string& sourcePath);

// Gives the file at `sourcePath` the name `destination` as well, with the
// rights of the destination's folder. False, with nothing at `destination`,
// where the system cannot: another drive, a file system without links,
// Windows 95, 98 and ME, NT 4.0.
bool LinkIntoPlace(const std::string& sourcePath, const std::string& destination);
