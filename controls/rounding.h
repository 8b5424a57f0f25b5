// Rounding used by every custom control's drawing: to nearest, halves to
// even, independent of the floating-point environment's rounding mode.
// Platform-free.
#pragma once

#include <cmath>

inline double RoundHalfEven(double x)
{
    const double down = std::floor(x);
    const double diff = x - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1.0;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}
