// The tray figure's picture at one size: a rounded badge in the level's
// colour with the percentage in block digits built for that size (never a
// scaled picture). Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/trayfigure.h"

// The colours of one drawing, 0x00RRGGBB.
struct TTrayFigureColors {
    std::uint32_t Fill = 0;    // the badge
    std::uint32_t Border = 0;  // its one-pixel edge: the level's colour itself
    std::uint32_t Digits = 0;
};

// The taskbar's own text colours: white digits on a deep shade of the
// level's colour on a dark taskbar, near-black digits on a pale tint on a
// light one; digits and badge keep a contrast of at least 4.5:1.
TTrayFigureColors TrayFigureColors(TFreeLevel level, bool lightTaskbar, std::uint32_t normalRgb);

// Size × size pixels (Size held to 1 … 256), top row first, each 0xAARRGGBB with straight (not
// premultiplied) alpha, as a 32-bit icon image holds them. Only the badge's
// rounded corners are partly transparent; outside it alpha is 0.
std::vector<std::uint32_t> PaintTrayFigure(const TTrayFigureLook& look);
