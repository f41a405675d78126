// The sizes source files will have once installed, as the sections page
// shows them. Measuring has no side effects: it reads the sources at hand
// and nothing else, so it has no prompter to ask anyone with, joins no
// pieces and writes no file (but for a packaged source that only the Setup
// API can measure, which it unpacks where the starter would have).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes the file entry at `index` of the file list adds to its
// section: a whole file's installed size (the expanded size of a compressed
// source). A spread file whose first piece is compressed counts at that
// piece, with the size its header gives for the whole file; the pieces of
// a plain one count each with its own size. A source that is not at hand
// (on another disk) counts 0.
uint32_t GetFileEntrySize(std::size_t index);

// Whether the source at `path` (on disk, or packaged) begins like a
// compressed file; false when it cannot be read.
bool IsCompressedSource(const std::string& path);
