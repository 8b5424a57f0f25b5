#include "controls/progressbar_scheme.h"

#include <iterator>

namespace GradientProgressBar {
namespace {

// Border, background start and end, fill start and end; by ordinal from csDesert.
constexpr TScheme Schemes[] = {
    {0x00005680, 0x00C6ECFF, 0x00FFFFFF, 0x009BDEFF, 0x00007BB7}, // csDesert
    {0x00156F37, 0x00CBF5DC, 0x00FFFFFF, 0x00C9F5DB, 0x0028C162}, // csGrass
    {0x006B6B6B, 0x00E0E0E0, 0x00FFFFFF, 0x00F0F0F0, 0x00ADADAD}, // csSilver
    {0x00B35900, 0x00FFEAD5, 0x00FFFFFF, 0x00FFEEDD, 0x00FFAE5E}, // csSky
    {0x0000009D, 0x00D7D7FF, 0x00FFFFFF, 0x00E8E8FF, 0x008080FF}, // csRose
    {0x00006464, 0x00CEFFFF, 0x00FFFFFF, 0x00DFFFFF, 0x0005BCDC}, // csSun
    {0x00000000, 0x00005500, 0x00008000, 0x0091ECAE, 0x0000AA00}, // csHackers
    {0x00000000, 0x00804000, 0x00A85400, 0x00FFCB97, 0x00EC7600}, // csNight
    {0x00000000, 0x00000059, 0x0046468C, 0x009F9FF2, 0x004848BB}, // csVelvet
    {0x00000000, 0x00464646, 0x006F6F6F, 0x00CECECE, 0x00737373}, // csMetal
    {0x00000000, 0x00800040, 0x00CA0065, 0x00FFB7DB, 0x00FF3399}, // csViolet
    {0x00000000, 0x002C5656, 0x003E7B7B, 0x00BCDEDE, 0x00468E8E}, // csToxic
};

} // namespace

const TScheme* SchemeOf(TColorScheme scheme)
{
    const auto i = static_cast<unsigned>(scheme);
    return i >= 1 && i <= std::size(Schemes) ? &Schemes[i - 1] : nullptr;
}

} // namespace GradientProgressBar
