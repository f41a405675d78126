// What the installation run shows of its progress. The program shows it on
// the copy page; the engine only says where it has got to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What a section's progress counts: its file entries, or, when the files
// decode from a solid package, their bytes, so that a large file moves the
// display while it decodes.
enum class ProgressUnit { kFiles, kBytes };

class Progress {
public:
    virtual ~Progress() = default;
    // The run is about to install `sections` chosen sections.
    virtual void StartRun(std::size_t sections) = 0;
    // The next chosen section, with `total` of `unit` to install.
    virtual void StartSection(const std::string& name, ProgressUnit unit, uint64_t total) = 0;
    // The next file entry, after `done` of the section's units (from 0);
    // the display may follow a little later.
    virtual void StartFile(const std::string& name, uint64_t done) = 0;
    // The file being installed has been read from the package up to byte
    // `through`; counted only where the section counts bytes.
    virtual void FileReadThrough(uint64_t through) = 0;
    // The run has installed what it will: the display catches up.
    virtual void EndRun() = 0;
};
