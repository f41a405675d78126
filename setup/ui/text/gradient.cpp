#include "setup/ui/text/gradient.h"

namespace {
uint32_t Low8(float value)
{
    return static_cast<uint32_t>(static_cast<int64_t>(value)) & 0xFFu;
}
}

std::array<GradientBand, kGradientBands> ComputeGradient(int screenHeight, const Rgb& top,
                                                         const Rgb& bottom)
{
    const float bandHeight = static_cast<float>(screenHeight) * (1.0f / 256.0f);
    const float step = 0.003921569f;
    const float stepRed = static_cast<float>(int64_t(bottom.red) - top.red) * step;
    const float stepGreen = static_cast<float>(int64_t(bottom.green) - top.green) * step;
    const float stepBlue = static_cast<float>(int64_t(bottom.blue) - top.blue) * step;
    float red = static_cast<float>(top.red);
    float green = static_cast<float>(top.green);
    float blue = static_cast<float>(top.blue);

    std::array<GradientBand, kGradientBands> bands{};
    for (int i = 0; i < kGradientBands; ++i) {
        GradientBand& band = bands[i];
        band.top = static_cast<int>(static_cast<float>(i) * bandHeight);
        band.bottom = static_cast<int>(static_cast<float>(band.top) + bandHeight + 0.3f);
        band.color = Low8(red) | Low8(green) << 8 | Low8(blue) << 16;
        red += stepRed;
        green += stepGreen;
        blue += stepBlue;
    }
    return bands;
}
