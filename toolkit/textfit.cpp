#include "toolkit/textfit.h"

#include <algorithm>

int DesignToPixels(int value, int dpi) noexcept
{
    // Rounded half away from zero, as MulDiv and the form's scaling do.
    const long long n = static_cast<long long>(value) * dpi;
    return static_cast<int>((n >= 0 ? n + 48 : n - 48) / 96);
}

int Overflow(int designLeft, int designWidth, int dpi, int needed) noexcept
{
    const int width = DesignToPixels(designLeft + designWidth, dpi) - DesignToPixels(designLeft, dpi);
    return std::max(0, needed - width);
}

int FitRow(std::span<const TFitItem> row, int dpi, std::span<TFitPlace> places) noexcept
{
    int shift = 0;
    for (std::size_t i = 0; i < row.size() && i < places.size(); ++i) {
        const TFitItem& item = row[i];
        // Both edges scaled, as the form scales a control, so that boxes
        // designed to touch still touch.
        const int left = DesignToPixels(item.Left, dpi);
        const int width = DesignToPixels(item.Left + item.Width, dpi) - left;
        const int grown = std::max(width, item.Needed);
        places[i] = {left + shift, grown};
        shift += grown - width;
    }
    return shift;
}
