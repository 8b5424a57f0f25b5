// Whether the user has high contrast on, and the colours that follow from it.
// This is the one place the program asks the system (SPI_GETHIGHCONTRAST):
// the answer is kept, and read again whenever a top-level window hears that
// the system's colours or settings changed.
#pragma once

#include "toolkit/color.h"

bool HighContrast();
// Asks the system again; a top-level window calls it on WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE before it repaints.
void RefreshHighContrast();

// Answers in the system's place from the next refresh on; null gives the
// question back to the system. Wine cannot switch high contrast on, so tests
// answer it here while the colours themselves are set for real.
using THighContrastSource = bool (*)();
void SetHighContrastSource(THighContrastSource source);

// The colour to draw with: the designed one, except that while high contrast
// is on an explicit colour gives way to the system colour of its role, so
// that nothing fixed is drawn on (or behind) the user's colours.
inline TColor ContrastColor(TColor designed, TColor systemRole)
{
    return HighContrast() && !IsSystemColor(designed) ? systemRole : designed;
}
