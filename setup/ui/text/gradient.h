// The bands of the background gradient, computed as the window paints them.
#pragma once

#include <array>
#include <cstdint>

#include "setup/model/text/records.h"

struct GradientBand {
    int top;
    int bottom;
    uint32_t color;  // COLORREF: red in the low byte
};

constexpr int kGradientBands = 256;

// The 256 bands for a screen of the given height: colours run evenly, in
// single precision, from the top colour (band 0) to the bottom colour (band
// 255); each channel is truncated and only its low 8 bits are used.
std::array<GradientBand, kGradientBands> ComputeGradient(int screenHeight, const Rgb& top,
                                                         const Rgb& bottom);
