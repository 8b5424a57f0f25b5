#include "controls/spinedit_geometry.h"

#include <algorithm>

TSpinButtonFit FitSpinButtons(int width, int height)
{
    TSpinButtonFit fit;
    fit.Width = std::max(width, SpinButtonMinWidth);
    fit.Height = height;
    const int up = height / 2;
    fit.Up = {0, 0, fit.Width, up};
    fit.Down = {0, up - 1, fit.Width, height - up + 1};
    return fit;
}

int SpinMinimumHeight(int editFontHeight, int systemFontHeight, int borderHeight)
{
    return editFontHeight + std::min(systemFontHeight, editFontHeight) / 4 + 4 * borderHeight + 2;
}

TSpinBounds SpinButtonPlacement(int editWidth, int editHeight, int buttonWidth, bool newStyle3D)
{
    if (newStyle3D) return {editWidth - buttonWidth - 5, 0, buttonWidth, editHeight - 5};
    return {editWidth - buttonWidth, 1, buttonWidth, editHeight - 3};
}

int SpinTextAreaRight(int clientWidth, int buttonWidth)
{
    return clientWidth - buttonWidth - 2;
}
