// Expanding SZDD files: piece by piece, so that setup expands a file of any
// size through a bounded buffer, and whole, for tesselpack and its tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/text/szdd_header.h"

// Expands the bytes that follow an SZDD header, fed in pieces of any size.
class SzddExpander {
public:
    explicit SzddExpander(uint32_t expandedSize);
    // Appends what the next `count` bytes expand to onto `out`. False once
    // they expand past the size the header states: the file is damaged.
    bool Expand(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out);
    // Whether what was fed so far ends on a whole item and expanded to
    // exactly the stated size.
    bool Complete() const { return !inMatch_ && produced_ == expected_; }

private:
    void Put(uint8_t byte, std::vector<uint8_t>& out);

    uint8_t window_[szdd::kWindow];
    unsigned position_ = szdd::kFirstWritePosition;
    uint64_t produced_ = 0;
    uint64_t expected_;
    unsigned flags_ = 0;   // the flag byte's bits not used yet, lowest first
    int flagsLeft_ = 0;
    bool inMatch_ = false;  // the first of a match's two bytes was read
    uint8_t matchLow_ = 0;
};

// Whether `file` begins with the SZDD header of the LZSS method.
bool IsSzdd(const uint8_t* file, size_t size);

// Expands a whole compressed file into `out`. False for a file that is no
// SZDD file, is cut short, or expands to a length other than its header states.
bool ExpandSzdd(const uint8_t* file, size_t size, std::vector<uint8_t>& out);
