// How far the gradient progress bar is filled, for a bar W x H with its
// one-pixel border. Platform-free.
//
// Both are rnd((inner length) * (Position - Min) / (Max - Min)), rounded
// half to even. Position may lie outside Min ... Max (the setters allow it);
// the results then fall outside the bitmap and the drawing clips them.
#pragma once

#include <cstdint>

// Horizontal bar: columns 0 ... fill - 1 carry the fill, column fill is the
// leading edge. 0 at Min (empty), W - 2 at Max (full), more beyond Max.
// With Max = Min there is no range: empty, or full when Position is above.
int HorizontalFill(int width, std::int32_t position, std::int32_t min, std::int32_t max);

// Vertical bar, filled from the bottom: the fill starts at row top, which is
// also the leading edge. H - 1 at Min (empty), 1 at Max (full), less beyond
// Max. With Max = Min: empty, or full when Position is above.
int VerticalTop(int height, std::int32_t position, std::int32_t min, std::int32_t max);

// How full the bar is, in whole percent (0 ... 100): Position's place between
// Min and Max, held to the range. With Max = Min: 0, or 100 above it.
int FilledPercent(std::int32_t position, std::int32_t min, std::int32_t max);
