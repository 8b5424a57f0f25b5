// Sizes and places of the spin edit's parts. Platform-free: the control
// measures fonts and system metrics and passes them in.
#pragma once

struct TSpinBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TSpinBounds&) const = default;
};

// The spin button is never narrower than its arrows.
inline constexpr int SpinButtonMinWidth = 15;

struct TSpinButtonFit {
    int Width = 0, Height = 0;   // the spin button's adjusted size
    TSpinBounds Up, Down;        // its two arrow buttons
};

// Raises the width to SpinButtonMinWidth; the up button takes the upper
// half (rounded down), the down button the rest plus the up button's last
// row, which they share.
TSpinButtonFit FitSpinButtons(int width, int height);

// Smallest edit height that shows the edit font: editFontHeight +
// min(systemFontHeight, editFontHeight) / 4 + 4 * borderHeight + 2.
int SpinMinimumHeight(int editFontHeight, int systemFontHeight, int borderHeight);

// Where the spin button sits in the edit's client area. With the new-style
// 3-D frame it is inset to clear the frame's inner edge.
TSpinBounds SpinButtonPlacement(int editWidth, int editHeight, int buttonWidth, bool newStyle3D);

// Right edge of the text area (the formatting rectangle), so that the text
// never runs under the arrows.
int SpinTextAreaRight(int clientWidth, int buttonWidth);
