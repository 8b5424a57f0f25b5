// The gradient button's named colour schemes and the index order of its 25
// colour properties. Platform-free.
//
// The gradient progress bar has its own, different TColorScheme with partly
// the same value names, so each lives in a namespace named after its control:
// GradientButton::TColorScheme here, which the button class also calls
// TGradientButton::TColorScheme. Neither header brings its values into a
// wider scope, so a file that sees both names each value through its own
// enumeration (TGradientButton::TColorScheme::csNeoGrass).
#pragma once

#include <array>
#include <iterator>
#include <cstdint>

#include "toolkit/color.h"

namespace GradientButton {

enum class TColorScheme : std::uint8_t {
    csNeoDesert, csNeoSky, csNeoGrass, csNeoSilver, csNeoRose, csNeoSun,
    csDesert, csGrass, csSky, csSun, csRose, csSilver,
    csCustom,
};

// Index of each colour property in the shared colour setter: the normal set,
// then the hot (Over), pressed (Down) and disabled sets, each in the role
// order face, gradient end, dark, light, border, text; the focus rectangle
// last.
enum TColorIndex : int {
    ciColorFace, ciColorGrad, ciColorDark, ciColorLight, ciColorBorder, ciColorText,
    ciOverColorFace, ciOverColorGrad, ciOverColorDark, ciOverColorLight, ciOverColorBorder, ciOverColorText,
    ciDownColorFace, ciDownColorGrad, ciDownColorDark, ciDownColorLight, ciDownColorBorder, ciDownColorText,
    ciDisabledColorFace, ciDisabledColorGrad, ciDisabledColorDark, ciDisabledColorLight,
    ciDisabledColorBorder, ciDisabledColorText,
    ciColorFocusRect,
};
inline constexpr int ColorCount = 25;
inline constexpr int ColorsPerSet = 6;
// Offsets of the roles inside each set of six.
enum TColorRole : int { crFace, crGrad, crDark, crLight, crBorder, crText };

using TColors = std::array<TColor, ColorCount>;

struct TScheme {
    TColors Colors;      // by TColorIndex
    bool Gradient;       // what applying the scheme sets Gradient to
    // The plain schemes leave the four gradient ends as they were.
    bool WritesGradientEnds() const { return Gradient; }
    bool Writes(int index) const
    {
        const bool gradientEnd = index < ciColorFocusRect && index % ColorsPerSet == crGrad;
        return !gradientEnd || WritesGradientEnds();
    }
};

// The colours a named scheme writes; nullptr for csCustom (and any value
// outside the enumeration), which writes nothing.
const TScheme* SchemeOf(TColorScheme scheme);

// The colours of a newly constructed button: csNeoDesert, except that the
// hot, pressed and disabled gradient ends are white.
TColors InitialColors();

} // namespace GradientButton
