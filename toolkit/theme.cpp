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

namespace {

// The design's light colours and the dark theme's, lighter where they sit
// on a dark face and the free part darker, so that it still reads as room.
constexpr COLORREF kPartLight[kMemoryPartCount] = {RGB(76, 150, 64), RGB(226, 138, 30), RGB(60, 110, 200),
                                                    RGB(170, 210, 240)};
constexpr COLORREF kPartDark[kMemoryPartCount] = {RGB(110, 185, 95), RGB(240, 165, 70), RGB(105, 150, 235),
                                                   RGB(40, 70, 95)};
constexpr COLORREF kMarkLight[kRunMarkColors] = {RGB(200, 0, 160), RGB(210, 20, 20), RGB(110, 50, 190),
                                                 RGB(0, 130, 130), RGB(120, 70, 0), RGB(20, 20, 20)};
constexpr COLORREF kMarkDark[kRunMarkColors] = {RGB(255, 110, 220), RGB(255, 95, 95), RGB(190, 150, 255),
                                                RGB(90, 220, 220), RGB(230, 180, 90), RGB(240, 240, 240)};

}  // namespace

COLORREF MemoryPartColor(TMemoryPart part)
{
    const auto index = static_cast<std::size_t>(part) % kMemoryPartCount;
    if (HighContrast()) {
        static constexpr int kRoles[kMemoryPartCount] = {COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT,
                                                         COLOR_WINDOW};
        return GetSysColor(kRoles[index]);
    }
    return DarkTheme() ? kPartDark[index] : kPartLight[index];
}

bool MemoryPartHatched(TMemoryPart part)
{
    return HighContrast() && part == TMemoryPart::mpModified;
}

COLORREF RunMarkColor(int trigger)
{
    if (HighContrast()) return GetSysColor(COLOR_WINDOWTEXT);
    const int index = trigger >= 0 && trigger < kRunMarkColors ? trigger : 0;
    return DarkTheme() ? kMarkDark[index] : kMarkLight[index];
}
