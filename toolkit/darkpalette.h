// The dark theme's colours: what each of the system's colour roles shows
// while the window is dark, and the rule that lifts a designed text colour
// until it reads on a dark face. Platform-free; colours are 0x00BBGGRR, as
// the layout stores them.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/color.h"

// The dark colour of a system colour role (a COLOR_ index), or nothing for
// a role the dark theme leaves as the user has it (the selection, tooltips).
std::optional<TColor> DarkRoleColor(int systemColorIndex);

// Text at least this readable against what is behind it.
inline constexpr double kReadableContrast = 4.5;

// The designed text colour itself when it reads at kReadableContrast on
// background; otherwise the same hue mixed with white just far enough that
// it does (navy becomes a light blue, never a different colour).
TColor ReadableOn(TColor text, TColor background);

// The relative luminance of the accessibility guidelines, 0 (black) to 1.
double ColorLuminance(TColor c);

// c mixed toward target by amount (0: c, 256: target), channel by channel.
TColor MixColor(TColor c, TColor target, int amount);
