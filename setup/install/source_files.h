// Source files on the installation medium: their installed sizes and the
// joining of files spread over several disks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/install/prompter.h"
#include "setup/script/text/records.h"

// The bytes the file entry at `index` of the file list occupies once
// installed (the expanded size of a compressed source); 0 when that cannot
// be found out. A piece of a spread file is appended to its joined file,
// and only the last piece counts, with the size of the whole joined file,
// which is then deleted again. A quit chosen at a prompt is requested here.
uint32_t GetFileEntrySize(std::size_t index, Prompter& prompter = ProgramPrompter());

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
// to its joined file in the Windows TEMP directory; the first piece of a
// file starts the joined file anew. Asks for the disk while the source
// cannot be read, and says what failed while the joined file cannot be
// written. Unless the piece was appended, no joined file is left: a file
// with a piece missing is never to be installed.
JoinedPiece AppendFilePiece(std::size_t index, Prompter& prompter = ProgramPrompter());
