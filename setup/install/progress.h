// What the installation run shows of its progress. The program shows it on
// the copy page; the engine only says where it has got to.
#pragma once

#include <cstddef>
#include <string>

class Progress {
public:
    virtual ~Progress() = default;
    // The run is about to install `sections` chosen sections.
    virtual void StartRun(std::size_t sections) = 0;
    // The next chosen section, which has `files` file entries.
    virtual void StartSection(const std::string& name, std::size_t files) = 0;
    // The file entry at `position` of the section (from 0) is next; the
    // display may follow a little later.
    virtual void StartFile(const std::string& name, std::size_t position) = 0;
    // The run has installed what it will: the display catches up.
    virtual void EndRun() = 0;
};
