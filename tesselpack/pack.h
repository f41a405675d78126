// One run of tesselpack: the script and the author's files in, a finished
// medium out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scriptcheck/check.h"
#include "tesselpack/text/media_space.h"

struct PackRequest {
    std::string script;    // the author's SetupScript.INI
    std::string staging;   // the files as the medium would hold them uncompressed ([SP])
    std::string medium;    // the folder to write; absent or empty
    std::string shownAs;   // how messages name the medium, when not as the folder
    std::string programs;  // where setup.exe and Unskein.exe are
    DiskFormat disk;       // what one disk holds; unlimited: one disk
    bool compressAll = true;
    std::vector<std::string> compressPatterns;  // when not all: names to compress, as "*.txt"
    bool solid = false;  // --single-file without --compress: the medium's files in LZMA streams
};

// `written`, when given, gets the paths of the files written into the
// medium's disk folders, below the medium, in the order of the script.
ExitStatus Pack(const PackRequest& request, std::vector<std::string>* written = nullptr);

// The same medium on one disk, written as one program that unpacks and runs
// it (the starter with the medium after it): `out`, and nothing else.
ExitStatus PackSingleFile(PackRequest request, const std::string& out);
