// How far apart two colours (0x00RRGGBB) are for the eye: the contrast ratio
// of the accessibility guidelines, from 1 (the same) to 21 (black on white).
// Platform-free.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

inline double RelativeLuminance(std::uint32_t rgb)
{
    auto linear = [](std::uint32_t c) {
        const double v = (c & 0xFF) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16) + 0.7152 * linear(rgb >> 8) + 0.0722 * linear(rgb);
}

inline double ContrastRatio(std::uint32_t a, std::uint32_t b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
