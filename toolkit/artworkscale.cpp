#include "toolkit/artworkscale.h"

#include <cstdlib>
#include <iterator>

namespace {

constexpr int kScales[] = {100, 125, 150, 200};

int ScaleIndex(int dpi)
{
    // Compared in 96ths of an inch: |scale * 96 - dpi * 100|.
    int best = 0;
    for (int i = 1; i < static_cast<int>(std::size(kScales)); ++i) {
        const long long d = std::llabs(static_cast<long long>(kScales[i]) * 96 - static_cast<long long>(dpi) * 100);
        const long long bestD = std::llabs(static_cast<long long>(kScales[best]) * 96 - static_cast<long long>(dpi) * 100);
        if (d <= bestD) best = i;
    }
    return best;
}

}  // namespace

int ArtworkScale(int dpi)
{
    return kScales[ScaleIndex(dpi)];
}

int ArtworkResourceId(int id, int dpi)
{
    return id + 1000 * ScaleIndex(dpi);
}

std::wstring ArtworkResourceName(const std::wstring& name, int dpi)
{
    const int scale = ArtworkScale(dpi);
    return scale == 100 ? name : name + L"_" + std::to_wstring(scale);
}
