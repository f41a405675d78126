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
// which is then deleted again.
uint32_t GetFileEntrySize(std::size_t index, Prompter& prompter = ProgramPrompter());

// Appends the content of the piece's source to the end of its joined file
// in the Windows TEMP directory, asking for the disk while the source cannot
// be read. Returns the joined file's path whatever became of the piece.
std::string AppendFilePiece(const FileEntry& piece, Prompter& prompter = ProgramPrompter());
