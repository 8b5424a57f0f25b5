// The gradient progress bar's named colour schemes. Platform-free.
//
// The gradient button has its own, different TColorScheme with partly the
// same value names, so each lives in a namespace named after its control:
// GradientProgressBar::TColorScheme here, which the bar class also calls
// TGradientProgressBar::TColorScheme.
#pragma once

#include <cstdint>

#include "toolkit/color.h"

namespace GradientProgressBar {

enum class TColorScheme : std::uint8_t {
    csCustom,
    csDesert, csGrass, csSilver, csSky, csRose, csSun,
    csHackers, csNight, csVelvet, csMetal, csViolet, csToxic,
};

// Indexes of the shared colour setter.
enum TColorIndex : int {
    ciColorBorder = 0,
    ciBackColorFace = 10,
    ciBackColorGrad = 11,
    ciForeColorFace = 20,
    ciForeColorGrad = 21,
};

struct TScheme {
    TColor ColorBorder, BackColorFace, BackColorGrad, ForeColorFace, ForeColorGrad;
};

// The five colours a named scheme writes; nullptr for csCustom (and any
// value outside the enumeration), which writes nothing.
const TScheme* SchemeOf(TColorScheme scheme);

} // namespace GradientProgressBar
