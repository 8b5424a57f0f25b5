#include "toolkit/theme.h"

#include "toolkit/darkpalette.h"
#include "toolkit/highcontrast.h"

namespace {

// User-interface thread only, like every paint that asks.
bool dark = false;

TColor Explicit(TColor c)
{
    if (!IsSystemColor(c)) return c;
    const COLORREF rgb = ThemeSystemColor(SystemColorIndex(c));
    return static_cast<TColor>(rgb & kColorRgbBits);
}

}  // namespace

bool DarkTheme()
{
    return dark && !HighContrast();
}

bool SetDarkTheme(bool value)
{
    const bool changed = value != dark;
    dark = value;
    return changed;
}

COLORREF ThemeSystemColor(int index)
{
    if (DarkTheme())
        if (const auto colour = DarkRoleColor(index)) return static_cast<COLORREF>(*colour);
    return GetSysColor(index);
}

TColor ThemeBackground(TColor designed, TColor role)
{
    if (IsSystemColor(designed)) return designed;
    return HighContrast() || DarkTheme() ? role : designed;
}

TColor ThemeText(TColor designed, TColor role, TColor background)
{
    if (IsSystemColor(designed) || (!HighContrast() && !DarkTheme())) return designed;
    if (HighContrast()) return role;
    // Asked at every paint of a text (the free memory's, every second): the
    // last answer is kept rather than searched for again.
    static TColor lastDesigned = clNone, lastBackground = clNone, lastShown = clNone;
    const TColor back = Explicit(background);
    if (designed != lastDesigned || back != lastBackground) {
        lastDesigned = designed;
        lastBackground = back;
        lastShown = ReadableOn(designed, back);
    }
    return lastShown;
}
