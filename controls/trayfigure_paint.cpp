#include "controls/trayfigure_paint.h"

#include <algorithm>

#include "toolkit/contrast.h"
#include "controls/rounding.h"

namespace {

constexpr std::uint32_t kAmberRgb = 0x00F0A000;
constexpr std::uint32_t kRedRgb = 0x00E03030;
constexpr std::uint32_t kLightDigits = 0x00FFFFFF;
constexpr std::uint32_t kDarkDigits = 0x001A1A1A;
constexpr double kMinContrast = 4.5;

int Channel(std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

std::uint32_t Rgb(double r, double g, double b)
{
    auto c = [](double v) { return static_cast<std::uint32_t>(std::clamp(RoundHalfEven(v), 0.0, 255.0)); };
    return c(r) << 16 | c(g) << 8 | c(b);
}

// base moved toward target by t (0: base, 1: target).
std::uint32_t Mix(std::uint32_t base, std::uint32_t target, double t)
{
    auto m = [&](int shift) { return Channel(base, shift) + (Channel(target, shift) - Channel(base, shift)) * t; };
    return Rgb(m(16), m(8), m(0));
}

// The digits on a grid of three columns and five rows, top row first, the
// left column in the highest of the three bits.
constexpr std::uint8_t kGlyphs[10][5] = {
    {7, 5, 5, 5, 7},  // 0
    {2, 6, 2, 2, 7},  // 1
    {7, 1, 7, 4, 7},  // 2
    {7, 1, 7, 1, 7},  // 3
    {5, 5, 7, 1, 1},  // 4
    {7, 4, 7, 1, 7},  // 5
    {7, 4, 7, 5, 7},  // 6
    {7, 1, 1, 1, 1},  // 7
    {7, 5, 7, 5, 7},  // 8
    {7, 5, 7, 1, 7},  // 9
};

// Where the digits go at one size. Strokes are whole pixels, so the digits
// stay sharp at every size instead of blurring as a scaled picture would.
struct TDigitGrid {
    int Stroke, Width, Height, Gap;
    int Columns[4];  // x of each column's left edge, then the right edge
    int Rows[6];     // y of each row's top edge, then the bottom edge
};

TDigitGrid DigitGrid(int size)
{
    TDigitGrid g{};
    g.Stroke = std::max(1, static_cast<int>(RoundHalfEven(size / 10.0)));
    g.Gap = std::max(2, size / 10);
    g.Width = std::max(3 * g.Stroke, (size - 2 - g.Gap) / 2);
    g.Height = std::max(3 * g.Stroke + 2, std::min(size - 4, static_cast<int>(RoundHalfEven(g.Width * 5 / 3.0))));
    const int t = g.Stroke;
    g.Columns[0] = 0;
    g.Columns[1] = t;
    g.Columns[2] = g.Width - t;
    g.Columns[3] = g.Width;
    const int open = g.Height - 3 * t;  // the two counters share what the strokes leave
    g.Rows[0] = 0;
    g.Rows[1] = t;
    g.Rows[2] = t + open / 2;
    g.Rows[3] = 2 * t + open / 2;
    g.Rows[4] = g.Height - t;
    g.Rows[5] = g.Height;
    return g;
}

// Is (x, y) inside the rounded square [inset, size - inset] with this radius?
bool InRoundedSquare(double x, double y, double size, double inset, double radius)
{
    const double lo = inset, hi = size - inset;
    if (x < lo || x > hi || y < lo || y > hi) return false;
    const double cx = std::clamp(x, lo + radius, hi - radius);
    const double cy = std::clamp(y, lo + radius, hi - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

} // namespace

TTrayFigureColors TrayFigureColors(TFreeLevel level, bool lightTaskbar, std::uint32_t normalRgb)
{
    TTrayFigureColors c;
    c.Border = level == TFreeLevel::flBelow ? kRedRgb : level == TFreeLevel::flNear ? kAmberRgb : normalRgb & 0xFFFFFF;
    c.Digits = lightTaskbar ? kDarkDigits : kLightDigits;
    // The brightest shade (or the most colourful tint) that keeps the
    // digits' contrast; any level colour gets there before black or white.
    const std::uint32_t toward = lightTaskbar ? 0xFFFFFFu : 0u;
    double t = lightTaskbar ? 0.5 : 0.25;
    c.Fill = Mix(c.Border, toward, t);
    while (ContrastRatio(c.Fill, c.Digits) < kMinContrast && t < 1.0) {
        t = std::min(1.0, t + 0.05);
        c.Fill = Mix(c.Border, toward, t);
    }
    return c;
}

std::vector<std::uint32_t> PaintTrayFigure(const TTrayFigureLook& look)
{
    const int s = std::clamp(look.Size, 1, 256);
    const TTrayFigureColors colors = TrayFigureColors(look.Figure.Level, look.LightTaskbar, look.NormalRgb);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(s) * s, 0);

    // The badge: each pixel's share of the rounded square (sampled 4 × 4)
    // gives its alpha, and its share of the edge mixes in the border colour.
    const double radius = std::max(2.0, RoundHalfEven(s * 3 / 16.0));
    const double edge = std::max(1.0, RoundHalfEven(s / 16.0));
    constexpr int kSamples = 4;
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            int outer = 0, inner = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double px = x + (i + 0.5) / kSamples, py = y + (j + 0.5) / kSamples;
                    if (!InRoundedSquare(px, py, s, 0, radius)) continue;
                    ++outer;
                    if (InRoundedSquare(px, py, s, edge, radius - edge)) ++inner;
                }
            }
            if (outer == 0) continue;
            const std::uint32_t rgb = Mix(colors.Border, colors.Fill, static_cast<double>(inner) / outer);
            const auto alpha = static_cast<std::uint32_t>(RoundHalfEven(255.0 * outer / (kSamples * kSamples)));
            pixels[static_cast<std::size_t>(y) * s + x] = alpha << 24 | rgb;
        }
    }

    // The digits, centred; 100 % already arrives as 99.
    const int percent = std::clamp(look.Figure.Percent, 0, 99);
    const TDigitGrid g = DigitGrid(s);
    const int count = percent >= 10 ? 2 : 1;
    const int digits[2] = {percent >= 10 ? percent / 10 : percent % 10, percent % 10};
    const int left = (s - (count * g.Width + (count - 1) * g.Gap)) / 2;
    const int top = (s - g.Height) / 2;
    for (int d = 0; d < count; ++d) {
        const int x0 = left + d * (g.Width + g.Gap);
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (!(kGlyphs[digits[d]][row] & (4 >> col))) continue;
                for (int y = top + g.Rows[row]; y < top + g.Rows[row + 1]; ++y)
                    for (int x = x0 + g.Columns[col]; x < x0 + g.Columns[col + 1]; ++x)
                        if (x >= 0 && x < s && y >= 0 && y < s)
                            pixels[static_cast<std::size_t>(y) * s + x] = 0xFF000000u | colors.Digits;
            }
        }
    }
    return pixels;
}
