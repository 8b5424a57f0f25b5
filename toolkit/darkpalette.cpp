#include "toolkit/darkpalette.h"

#include "toolkit/contrast.h"

namespace {

// The system's COLOR_ indices this palette answers for.
enum : int {
    kMenu = 4,
    kWindow = 5,
    kMenuText = 7,
    kWindowText = 8,
    kCaptionText = 9,
    kBtnFace = 15,
    kBtnShadow = 16,
    kGrayTextRole = 17,
    kBtnText = 18,
    kBtnHighlight = 20,
    k3DDkShadow = 21,
    k3DLight = 22,
    kMenuHilight = 29,
    kMenuBar = 30,
};

// Neutral greys, so the design's green buttons and bars keep their colour
// against them; the text is off-white, which glares less than white.
constexpr TColor kFace = 0x00202020;
constexpr TColor kField = 0x002B2B2B;
constexpr TColor kText = 0x00F0F0F0;
constexpr TColor kGrayText = 0x00A0A0A0;

std::uint32_t Rgb(TColor c)
{
    return std::uint32_t{ColorRed(c)} << 16 | std::uint32_t{ColorGreen(c)} << 8 | ColorBlue(c);
}

}  // namespace

std::optional<TColor> DarkRoleColor(int index)
{
    switch (index) {
    case kBtnFace:
    case kMenuBar: return kFace;
    case kWindow:
    case kMenu: return kField;
    case kWindowText:
    case kBtnText:
    case kMenuText:
    case kCaptionText: return kText;
    case kGrayTextRole: return kGrayText;
    case kBtnShadow: return 0x00606060;
    case kBtnHighlight: return 0x00505050;
    case k3DDkShadow: return 0x00101010;
    case k3DLight: return 0x00404040;
    case kMenuHilight: return 0x00454545;
    default: return std::nullopt;  // the selection, tooltips, the desktop: the user's
    }
}

double ColorLuminance(TColor c)
{
    return RelativeLuminance(Rgb(c));
}

TColor MixColor(TColor c, TColor target, int amount)
{
    auto mix = [amount](int from, int to) { return from + (to - from) * amount / 256; };
    return static_cast<TColor>(mix(ColorRed(c), ColorRed(target)) | mix(ColorGreen(c), ColorGreen(target)) << 8 |
                               mix(ColorBlue(c), ColorBlue(target)) << 16);
}

TColor ReadableOn(TColor text, TColor background)
{
    // The smallest step of white that reads: the first of 32 that does.
    for (int amount = 0; amount <= 256; amount += 8) {
        const TColor lifted = MixColor(text, clWhite, amount);
        if (ContrastRatio(Rgb(lifted), Rgb(background)) >= kReadableContrast) return lifted;
    }
    return clWhite;
}
