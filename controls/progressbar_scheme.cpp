#include "controls/progressbar_scheme.h"

#include <iterator>

namespace GradientProgressBar {
namespace {

// Border, background start and end, fill start and end; by ordinal from csDesert.
constexpr TScheme Schemes[] = {
    {22144, 13036799, 16777215, 10215167, 31671}, // csDesert
    {1404727, 13366748, 16777215, 13235675, 2670946}, // csGrass
    {7039851, 14737632, 16777215, 15790320, 11382189}, // csSilver
    {11753728, 16771797, 16777215, 16772829, 16756318}, // csSky
    {157, 14145535, 16777215, 15263999, 8421631}, // csRose
    {25700, 13565951, 16777215, 14680063, 376028}, // csSun
    {0, 21760, 32768, 9563310, 43520}, // csHackers
    {0, 8404992, 11031552, 16763799, 15496704}, // csNight
    {0, 89, 4605580, 10461170, 4737211}, // csVelvet
    {0, 4605510, 7303023, 13553358, 7566195}, // csMetal
    {0, 8388672, 13238373, 16758747, 16724889}, // csViolet
    {0, 2905686, 4094843, 12377822, 4624014}, // csToxic
};

} // namespace

const TScheme* SchemeOf(TColorScheme scheme)
{
    const auto i = static_cast<unsigned>(scheme);
    return i >= 1 && i <= std::size(Schemes) ? &Schemes[i - 1] : nullptr;
}

} // namespace GradientProgressBar
