#include "controls/gradient.h"

#include "controls/rounding.h"

std::vector<TColor> GradientColors(TColor start, TColor end, int n)
{
    std::vector<TColor> lines;
    if (n < 0) return lines;
    lines.reserve(static_cast<size_t>(n) + 1);

    double value[3] = {double(ColorRed(start)), double(ColorGreen(start)), double(ColorBlue(start))};
    const double target[3] = {double(ColorRed(end)), double(ColorGreen(end)), double(ColorBlue(end))};
    double step[3] = {0, 0, 0};
    if (n > 0) {
        for (int c = 0; c < 3; ++c) step[c] = (target[c] - value[c]) / n;
    }
    for (int k = 0; k <= n; ++k) {
        TColor colour = 0;
        for (int c = 0; c < 3; ++c) {
            // Only the low byte counts; accumulated error never leaves 0...255
            // by more than a fraction, but a wrap must not spill into the
            // next channel.
            const auto channel = static_cast<int>(RoundHalfEven(value[c])) & 0xFF;
            colour |= channel << (8 * c);
            // Repeated addition, not start + k * step: the rows must match
            // what the accumulated value gives.
            value[c] += step[c];
        }
        lines.push_back(colour);
    }
    return lines;
}
