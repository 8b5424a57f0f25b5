#include <gtest/gtest.h>

#include "controls/gradient.h"
#include "controls/rounding.h"

namespace {
constexpr TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }
} // namespace

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(68.30), 68.0);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3.0);
}

TEST(Gradient, GrassFillBandOfAnElevenPixelBar)
{
    const std::vector<TColor> expected = {
        Rgb(219, 245, 201), Rgb(208, 240, 186), Rgb(197, 236, 172), Rgb(186, 231, 157),
        Rgb(175, 226, 142), Rgb(164, 221, 128), Rgb(153, 217, 113), Rgb(142, 212, 99),
        Rgb(131, 207, 84),  Rgb(120, 202, 69),  Rgb(109, 198, 55),  Rgb(98, 193, 40),
    };
    EXPECT_EQ(GradientColors(0x00C9F5DB, 0x0028C162, 11), expected);
}

TEST(Gradient, FirstLineIsTheStartAndLastTheEnd)
{
    // The button's face: row 0 is Face, row H - 1 is one step short of GradEnd.
    const auto rows = GradientColors(0x00DDF9E8, 0x005EDF8E, 20);
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows.front(), 0x00DDF9E8);
    EXPECT_EQ(rows.back(), 0x005EDF8E);
    // Channel-wise rounding of Face + (GradEnd - Face) * 19 / 20.
    const TColor face = 0x00DDF9E8, grad = 0x005EDF8E;
    auto channel = [&](int shift) {
        const int f = (face >> shift) & 0xFF, g = (grad >> shift) & 0xFF;
        return static_cast<int>(RoundHalfEven(f + (g - f) * 19.0 / 20.0));
    };
    EXPECT_EQ(rows[19], channel(0) | channel(8) << 8 | channel(16) << 16);
}

TEST(Gradient, ChannelsStayApartAndSystemColoursAreTakenAsStored)
{
    // Top byte ignored; each channel rounds on its own and never carries.
    const auto rows = GradientColors(static_cast<TColor>(0x800000FF), 0x0000FF00, 3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], Rgb(255, 0, 0));
    EXPECT_EQ(rows[1], Rgb(170, 85, 0));
    EXPECT_EQ(rows[2], Rgb(85, 170, 0));
    EXPECT_EQ(rows[3], Rgb(0, 255, 0));
    for (TColor c : GradientColors(clWhite, clBlack, 255)) EXPECT_EQ(c & ~0xFFFFFF, 0);
}

TEST(Gradient, DegenerateLengthsDrawNothingOrOneLine)
{
    EXPECT_TRUE(GradientColors(clWhite, clBlack, -1).empty());
    // A zero-height button or a two-pixel bar: no division by zero, one line
    // in the start colour.
    EXPECT_EQ(GradientColors(clWhite, clBlack, 0), std::vector<TColor>{clWhite});
}
