// Draws the welcome page's picture, a woven pattern of blue and silver
// ribbons lit from the upper left, into a Windows bitmap of 256 colours,
// run-length encoded where that is smaller. Its few hues and smooth shading
// fit a palette of its own without visible loss, at a third of the size.
// Built and run on the build machine: draw_welcome_bitmap OUTPUT.bmp
#include <algorithm>
#include <array>
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

using Rgb = std::array<uint8_t, 3>;

// The picture, row by row from the top, smoothed by sampling each pixel at
// kSamples by kSamples points.
std::vector<Rgb> DrawPicture()
{
    std::vector<Rgb> pixels;
    for (int row = 0; row < kHeight; ++row)
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
            pixels.push_back({Channel(c.r), Channel(c.g), Channel(c.b)});
        }
    return pixels;
}

int Distance(const Rgb& a, const Rgb& b)
{
    int sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return sum;
}

uint8_t Nearest(const std::vector<Rgb>& palette, const Rgb& colour)
{
    size_t best = 0;
    for (size_t i = 1; i < palette.size(); ++i)
        if (Distance(palette[i], colour) < Distance(palette[best], colour))
            best = i;
    return static_cast<uint8_t>(best);
}

// The mean colour of a group of pixels.
Rgb Mean(std::vector<Rgb>::const_iterator first, std::vector<Rgb>::const_iterator last)
{
    double sum[3] = {};
    for (auto it = first; it != last; ++it)
        for (int i = 0; i < 3; ++i)
            sum[i] += (*it)[i];
    const double count = static_cast<double>(last - first);
    return {Channel(sum[0] / count), Channel(sum[1] / count), Channel(sum[2] / count)};
}

// A palette of at most 256 colours: the pixels are split again and again at
// the median of the widest channel of the group with the widest spread (the
// median cut), then each colour moves to the mean of the pixels nearest to
// it, a few times over.
std::vector<Rgb> ChoosePalette(std::vector<Rgb> pixels)
{
    struct Group {
        size_t first, last;
        int channel, spread;
    };
    auto measure = [&](size_t first, size_t last) {
        Group group{first, last, 0, -1};
        for (int i = 0; i < 3; ++i) {
            const auto [low, high] = std::minmax_element(pixels.begin() + first, pixels.begin() + last,
                                                         [i](const Rgb& a, const Rgb& b) { return a[i] < b[i]; });
            if ((*high)[i] - (*low)[i] > group.spread)
                group = {first, last, i, (*high)[i] - (*low)[i]};
        }
        return group;
    };
    std::vector<Group> groups = {measure(0, pixels.size())};
    while (groups.size() < 256) {
        const auto widest = std::max_element(groups.begin(), groups.end(),
                                             [](const Group& a, const Group& b) { return a.spread < b.spread; });
        if (widest->spread <= 0)
            break;
        const Group group = *widest;
        const size_t middle = (group.first + group.last) / 2;
        std::nth_element(pixels.begin() + group.first, pixels.begin() + middle, pixels.begin() + group.last,
                         [&](const Rgb& a, const Rgb& b) { return a[group.channel] < b[group.channel]; });
        *widest = measure(group.first, middle);
        groups.push_back(measure(middle, group.last));
    }
    std::vector<Rgb> palette;
    for (const Group& group : groups)
        palette.push_back(Mean(pixels.begin() + group.first, pixels.begin() + group.last));
    for (int round = 0; round < 8; ++round) {
        std::vector<std::array<double, 4>> sums(palette.size());
        for (const Rgb& pixel : pixels) {
            auto& sum = sums[Nearest(palette, pixel)];
            for (int i = 0; i < 3; ++i)
                sum[i] += pixel[i];
            sum[3] += 1;
        }
        for (size_t k = 0; k < palette.size(); ++k)
            if (sums[k][3] > 0)
                palette[k] = {Channel(sums[k][0] / sums[k][3]), Channel(sums[k][1] / sums[k][3]),
                              Channel(sums[k][2] / sums[k][3])};
    }
    return palette;
}

// One row in 8-bit run-length encoding: runs of one colour as a count and
// the colour; stretches without runs as they are, behind a zero and their
// length, padded to a whole word. Ends with the end-of-line mark.
void EncodeRow(std::vector<uint8_t>& out, const uint8_t* row, int width)
{
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x])
            ++run;
        if (run >= 2) {
            out.insert(out.end(), {static_cast<uint8_t>(run), row[x]});
            x += run;
            continue;
        }
        // As they are, up to where a run of two or more starts.
        int length = 1;
        while (x + length < width && length < 255 &&
               !(x + length + 1 < width && row[x + length] == row[x + length + 1]))
            ++length;
        if (length < 3) {  // too short to be written as they are
            for (int i = 0; i < length; ++i)
                out.insert(out.end(), {1, row[x + i]});
        } else {
            out.insert(out.end(), {0, static_cast<uint8_t>(length)});
            out.insert(out.end(), row + x, row + x + length);
            if (length % 2)
                out.push_back(0);
        }
        x += length;
    }
    out.insert(out.end(), {0, 0});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    const std::vector<Rgb> pixels = DrawPicture();
    const std::vector<Rgb> palette = ChoosePalette(pixels);

    // The rows bottom-up, as stored: padded to 4 bytes, and encoded.
    const uint32_t stride = (kWidth + 3) & ~3u;
    std::vector<uint8_t> plain, encoded;
    for (int row = kHeight - 1; row >= 0; --row) {
        std::vector<uint8_t> indices(stride, 0);
        for (int x = 0; x < kWidth; ++x)
            indices[x] = Nearest(palette, pixels[row * kWidth + x]);
        plain.insert(plain.end(), indices.begin(), indices.end());
        EncodeRow(encoded, indices.data(), kWidth);
    }
    encoded.back() = 1;  // the last end of line becomes the end of the picture
    const bool runLengths = encoded.size() < plain.size();
    const std::vector<uint8_t>& bits = runLengths ? encoded : plain;

    const uint32_t paletteBytes = static_cast<uint32_t>(palette.size() * 4);
    const uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<uint8_t> bmp;
    // BITMAPFILEHEADER, then BITMAPINFOHEADER: 8 bits, BI_RLE8 or BI_RGB.
    bmp.push_back('B');
    bmp.push_back('M');
    Put32(bmp, offset + static_cast<uint32_t>(bits.size()));
    Put32(bmp, 0);
    Put32(bmp, offset);
    Put32(bmp, 40);
    Put32(bmp, kWidth);
    Put32(bmp, kHeight);
    Put16(bmp, 1);
    Put16(bmp, 8);
    for (uint32_t field : {runLengths ? 1u : 0u, static_cast<uint32_t>(bits.size()), 2835u, 2835u,
                           static_cast<uint32_t>(palette.size()), 0u})
        Put32(bmp, field);
    for (const Rgb& colour : palette)
        bmp.insert(bmp.end(), {colour[2], colour[1], colour[0], 0});
    bmp.insert(bmp.end(), bits.begin(), bits.end());

    FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(bmp.data(), 1, bmp.size(), file) != bmp.size() || std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
