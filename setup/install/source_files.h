// Joining the pieces of files spread over several disks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/install/prompter.h"
#include "setup/model/text/records.h"

enum class PieceOutcome {
    kAppended,     // the piece is in the joined file
    kIgnored,      // the user left this piece out: the file cannot be completed
    kFileGivenUp,  // an earlier piece of the file was left out; this one is not asked for
    kQuit,         // the user chose to end setup at a prompt about this piece
};

struct JoinedPiece {
    std::string joinedPath;
    PieceOutcome outcome;
};

// Appends the content of the spread-file piece at `index` of the file list
// to its joined file in setup's own temporary folder; the first piece of a
// file creates a new joined file there. Asks for the disk while the source
// cannot be read, and says what failed while the joined file cannot be
// written. Unless the piece was appended, no joined file is left: a file
// with a piece missing is never to be installed.
JoinedPiece AppendFilePiece(std::size_t index, Prompter& prompter);

// Opens the complete joined file for reading in a way that lets others
// read it but no one write it, for as long as it is installed from.
HANDLE HoldJoinedFile(const std::string& joinedPath);
