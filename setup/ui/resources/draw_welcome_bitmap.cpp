// Draws the welcome page's picture, a woven pattern of blue and silver
// ribbons lit from the upper left, into a 24-bit Windows bitmap.
// Built and run on the build machine: draw_welcome_bitmap OUTPUT.bmp
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 191;
constexpr int kHeight = 163;
constexpr int kSamples = 4;         // per axis, for smooth edges
constexpr double kPeriod = 31.0;    // ribbon spacing in pixels
constexpr double kRibbon = 24.0;    // ribbon width
constexpr double kPi = 3.14159265358979323846;

struct Color {
    double r, g, b;
};

Color Mix(Color a, Color b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color Scale(Color c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

double FloorMod(double value, double period)
{
    return value - period * std::floor(value / period);
}

// One sample of the weave at (x, y). Ribbons run diagonally both ways and
// pass alternately over and under each other.
Color Weave(double x, double y)
{
    const double u = (x + y) / std::sqrt(2.0) + 9.0;  // across the first family
    const double v = (x - y) / std::sqrt(2.0) + 200.0;
    const int i = static_cast<int>(std::floor(u / kPeriod));
    const int j = static_cast<int>(std::floor(v / kPeriod));
    const double a = FloorMod(u, kPeriod);
    const double b = FloorMod(v, kPeriod);
    const bool inA = a < kRibbon;
    const bool inB = b < kRibbon;
    const bool aOnTop = (i + j) % 2 == 0;

    const Color gap = {12, 22, 58};
    if (!inA && !inB) {
        // Deep gaps, darker next to the ribbons.
        const double edge = std::fmin(std::fmin(a - kRibbon, kPeriod - a), std::fmin(b - kRibbon, kPeriod - b));
        return Scale(gap, 0.55 + 0.45 * std::fmin(edge / 3.0, 1.0));
    }
    const bool showA = inA && (!inB || aOnTop);
    const double across = (showA ? a : b) / kRibbon;
    const double along = showA ? v : u;
    const int index = showA ? i : j;
    // Height along the ribbon: up where it crosses over, down where under.
    const double sign = (showA ? index : index + 1) % 2 == 0 ? 1.0 : -1.0;
    const double height = sign * std::cos(kPi * (along - kRibbon / 2) / kPeriod);

    const Color blueDeep = {28, 86, 196}, blueLight = {92, 164, 246};
    const Color silverDeep = {168, 192, 228}, silverLight = {238, 244, 252};
    const double hue = 0.5 + 0.5 * std::sin(index * 1.7);
    Color base = showA ? Mix(blueDeep, blueLight, hue * 0.6 + 0.2) : Mix(silverDeep, silverLight, hue * 0.5 + 0.4);
    // Rounded cross-section, brighter towards the upper-left edge.
    const double profile = std::sin(kPi * across);
    const double light = 0.58 + 0.34 * profile + 0.12 * (0.5 - across) + 0.16 * height;
    Color c = Scale(base, light);

    // The ribbon on top casts a soft shadow where the lower one dives under it.
    const double otherPos = showA ? b : a;
    const bool otherIsOver = !(inA && inB);
    if (otherIsOver) {
        const double beforeEdge = otherPos - kRibbon;
        const double afterEdge = kPeriod - otherPos;
        const bool overBefore = showA ? ((i + j) % 2 != 0) : ((i + j) % 2 == 0);
        const bool overAfter = !overBefore;
        double shadow = 0.0;
        if (overBefore)
            shadow = std::fmax(shadow, std::exp(-beforeEdge / 2.2));
        if (overAfter)
            shadow = std::fmax(shadow, std::exp(-afterEdge / 2.2));
        c = Scale(c, 1.0 - 0.45 * shadow);
    }
    return c;
}

// Light from the upper left fading into the deep blue of the setup screen.
Color Light(Color c, double x, double y)
{
    const double fx = x / kWidth, fy = y / kHeight;
    const double glow = std::exp(-((fx - 0.25) * (fx - 0.25) + (fy - 0.2) * (fy - 0.2)) * 2.2);
    const double fade = 0.55 + 0.55 * glow;
    const Color night = {6, 12, 40};
    return Mix(night, Scale(c, fade), 0.35 + 0.65 * (1.0 - 0.55 * fy));
}

uint8_t Channel(double value)
{
    return static_cast<uint8_t>(std::lround(std::fmin(std::fmax(value, 0.0), 255.0)));
}

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(value & 0xFF);
    out.push_back(value >> 8 & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    const uint32_t stride = (kWidth * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * kHeight;
    std::vector<uint8_t> bmp;
    // BITMAPFILEHEADER, then BITMAPINFOHEADER: 24 bits, uncompressed.
    bmp.push_back('B');
    bmp.push_back('M');
    Put32(bmp, 14 + 40 + pixelBytes);
    Put32(bmp, 0);
    Put32(bmp, 14 + 40);
    Put32(bmp, 40);
    Put32(bmp, kWidth);
    Put32(bmp, kHeight);
    Put16(bmp, 1);
    Put16(bmp, 24);
    for (uint32_t field : {0u, pixelBytes, 2835u, 2835u, 0u, 0u})
        Put32(bmp, field);

    for (int row = kHeight - 1; row >= 0; --row) {  // bottom-up
        for (int x = 0; x < kWidth; ++x) {
            Color sum = {0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples, py = row + (sy + 0.5) / kSamples;
                    const Color c = Light(Weave(px, py), px, py);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            Color c = Scale(sum, 1.0 / (kSamples * kSamples));
            if (x == 0 || row == 0 || x == kWidth - 1 || row == kHeight - 1)
                c = {8, 16, 48};  // a fine frame against the page
            bmp.push_back(Channel(c.b));
            bmp.push_back(Channel(c.g));
            bmp.push_back(Channel(c.r));
        }
        bmp.resize(bmp.size() + stride - kWidth * 3, 0);
    }

    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(bmp.data(), 1, bmp.size(), file) != bmp.size() || std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
