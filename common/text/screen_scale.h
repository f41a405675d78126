// Lengths given in pixels of a 100 % screen (96 dots per inch), such as the
// script's control rectangles and caption positions, on the screen the
// program runs on: setup and the starter declare that they follow the
// display scaling, so the system no longer stretches them.
#pragma once

#include <cstdint>

constexpr int32_t kBaseDpi = 96;

// The nearest number that 32 bits hold.
constexpr int32_t HeldTo32Bits(int64_t value)
{
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

// `value` × `numerator` / `denominator` to the nearest whole number, halves
// away from zero, so that a length and its negative scale alike; kept within
// 32 bits. A share that is not positive (a size the system did not tell)
// leaves the value as it is.
constexpr int32_t ScaleBy(int32_t value, int32_t numerator, int32_t denominator)
{
    if (numerator <= 0 || denominator <= 0)
        return value;
    const int64_t product = int64_t{value} * numerator;
    const int64_t magnitude = ((product < 0 ? -product : product) + denominator / 2) / denominator;
    return HeldTo32Bits(product < 0 ? -magnitude : magnitude);
}

// Pixels of a 100 % screen on a screen of `dpi` dots per inch.
constexpr int32_t ScaleToDpi(int32_t pixels, int32_t dpi)
{
    return ScaleBy(pixels, dpi, kBaseDpi);
}
