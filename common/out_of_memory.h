// How a lean program (common/lean_runtime.h) ends when its memory runs out:
// each program defines its own ending beside its entry point.
#pragma once

struct OutOfMemoryEnding {
    const char* text;
    const char* caption;
    int exitCode;
};

extern const OutOfMemoryEnding kOutOfMemoryEnding;
