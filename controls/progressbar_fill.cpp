#include "controls/progressbar_fill.h"

#include <algorithm>
#include <limits>

#include "controls/rounding.h"

namespace {

// The product is formed exactly: in 32 bits a large Position or range
// wraps around and shows a full bar empty.
double Share(int innerLength, std::int32_t position, std::int32_t min, std::int32_t max)
{
    const std::int64_t product = std::int64_t{innerLength} * (std::int64_t{position} - min);
    return static_cast<double>(product) / static_cast<double>(std::int64_t{max} - min);
}

int ToInt(double value)
{
    constexpr double low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, low, high));
}

} // namespace

int HorizontalFill(int width, std::int32_t position, std::int32_t min, std::int32_t max)
{
    if (max == min) return position > max ? width - 2 : 0;
    return ToInt(RoundHalfEven(Share(width - 2, position, min, max)));
}

int VerticalTop(int height, std::int32_t position, std::int32_t min, std::int32_t max)
{
    if (max == min) return position > max ? 1 : height - 1;
    return ToInt(height - RoundHalfEven(Share(height - 2, position, min, max) + 1.0));
}

int FilledPercent(std::int32_t position, std::int32_t min, std::int32_t max)
{
    if (max <= min) return position > min ? 100 : 0;
    if (position <= min) return 0;
    if (position >= max) return 100;
    const double share = (static_cast<double>(position) - min) / (static_cast<double>(max) - min);
    return static_cast<int>(RoundHalfEven(share * 100.0));
}
