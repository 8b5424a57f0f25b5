// Making room for text, where design units become pixels. Platform-free:
// design places (96-dpi units) and the widths texts need (pixels at the
// window's dpi, measured with the font the system really gives) go in; pixel
// places come out. A text that fits its designed box keeps the design
// exactly; one that does not widens its box, and only what lies after it in
// its row moves, by as much.
#pragma once

#include <span>

// A design value in pixels at dpi, rounded as the form scales its controls.
int DesignToPixels(int value, int dpi) noexcept;

// One box of a row, left to right: where the design puts it, and the width
// its text needs in pixels (0: no text).
struct TFitItem {
    int Left = 0;
    int Width = 0;
    int Needed = 0;
};
// Its place in pixels.
struct TFitPlace {
    int Left = 0;
    int Width = 0;
};

// How much wider than designed a box must be for its text (pixels; 0 when
// the text fits). Its width at dpi is that of its scaled edges, as the form
// places it.
int Overflow(int designLeft, int designWidth, int dpi, int needed) noexcept;

// Lays a row out at dpi into places (as many as row). Returns how much wider
// the row has become, in pixels: what its container must add.
int FitRow(std::span<const TFitItem> row, int dpi, std::span<TFitPlace> places) noexcept;
