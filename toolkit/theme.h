// The theme in force, and the one place a control's colours are answered
// for it: the design's light colours, dark, or high contrast, which wins
// over both. Controls ask for a role's colour here (through ColorToRGB for
// the system's roles); none of them decides its own dark colours.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/color.h"

// The dark theme is chosen and high contrast is off.
bool DarkTheme();
// The program's choice; true when it changed, and the top-level windows
// are to be told (TWinControl::FollowSystemColors).
bool SetDarkTheme(bool dark);

// The colour a system colour role (a COLOR_ index) shows in the theme in force.
COLORREF ThemeSystemColor(int index);

// A background as shown: the designed colour, except that under high
// contrast or the dark theme an explicit colour gives way to the role's, so
// nothing fixed is drawn behind the user's or the dark colours.
TColor ThemeBackground(TColor designed, TColor role);
// A text colour as shown on background: under high contrast an explicit
// colour gives way to the role's; in the dark theme it is lifted until it
// reads (see ReadableOn).
TColor ThemeText(TColor designed, TColor role, TColor background);

// The four parts of physical memory, in the order the division bar and the
// memory graph stack them.
enum class TMemoryPart : std::uint8_t { mpInUse, mpModified, mpStandby, mpFree };
inline constexpr int kMemoryPartCount = 4;
// A part's colour in the theme in force. Under high contrast the parts take
// the user's colours; two share the highlight, told apart by the stripes of
// MemoryPartHatched, and the free part is the window's own colour.
COLORREF MemoryPartColor(TMemoryPart part);
// Drawn as stripes of its colour on the window's: only under high contrast.
bool MemoryPartHatched(TMemoryPart part);
// The mark of a run in the memory graph, by what started it (the history's
// triggers in their order, then a run the standby list started). Under high
// contrast every mark is the window text's colour: its tip names the trigger.
inline constexpr int kRunMarkColors = 6;
COLORREF RunMarkColor(int trigger);
