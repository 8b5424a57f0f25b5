#include <gtest/gtest.h>

#include <climits>

#include "controls/progressbar_fill.h"
#include "controls/progressbar_scheme.h"

using enum GradientProgressBar::TColorScheme;

using namespace GradientProgressBar;

TEST(BarFill, HorizontalWorkedValues)
{
    // 140 x 11, Min 1, Max 100.
    EXPECT_EQ(HorizontalFill(140, 1, 1, 100), 0);
    EXPECT_EQ(HorizontalFill(140, 2, 1, 100), 1);
    EXPECT_EQ(HorizontalFill(140, 50, 1, 100), 68);
    EXPECT_EQ(HorizontalFill(140, 100, 1, 100), 138);
    EXPECT_EQ(HorizontalFill(140, 150, 1, 100), 208);
}

TEST(BarFill, VerticalWorkedValues)
{
    // 22 x 139, Min 1, Max 100.
    EXPECT_EQ(VerticalTop(139, 1, 1, 100), 138);
    EXPECT_EQ(VerticalTop(139, 2, 1, 100), 137);
    EXPECT_EQ(VerticalTop(139, 50, 1, 100), 70);
    EXPECT_EQ(VerticalTop(139, 99, 1, 100), 2);
    EXPECT_EQ(VerticalTop(139, 100, 1, 100), 1);
    EXPECT_EQ(VerticalTop(139, 120, 1, 100), -27);
}

TEST(BarFill, HalvesRoundToEven)
{
    // 10 * 1 / 4 = 2.5 -> 2; 10 * 3 / 4 = 7.5 -> 8.
    EXPECT_EQ(HorizontalFill(12, 1, 0, 4), 2);
    EXPECT_EQ(HorizontalFill(12, 3, 0, 4), 8);
    // Vertical: 2.5 + 1 = 3.5 -> 4.
    EXPECT_EQ(VerticalTop(12, 1, 0, 4), 8);
}

TEST(BarFill, PositionBelowMinShowsEmpty)
{
    // Min raised above a stored Position.
    EXPECT_LE(HorizontalFill(140, 0, 1, 100), 0);
    EXPECT_GE(VerticalTop(139, 0, 1, 100), 138);
}

TEST(BarFill, EqualLimitsDoNotDivideByZero)
{
    EXPECT_EQ(HorizontalFill(140, 5, 5, 5), 0);
    EXPECT_EQ(VerticalTop(139, 5, 5, 5), 138);
    // Above the one-value range the bar reads full, as above any Max.
    EXPECT_EQ(HorizontalFill(140, 6, 5, 5), 138);
    EXPECT_EQ(VerticalTop(139, 6, 5, 5), 1);
    EXPECT_EQ(HorizontalFill(140, 4, 5, 5), 0);
}

TEST(BarFill, LargeValuesDoNotWrapAround)
{
    // 138 * 100,000,000 does not fit 32 bits; the bar must still read full,
    // not empty or negative.
    EXPECT_EQ(HorizontalFill(140, 100000000, 0, 100000000), 138);
    EXPECT_EQ(HorizontalFill(140, 50000000, 0, 100000000), 69);
    EXPECT_EQ(VerticalTop(139, 100000000, 0, 100000000), 1);
    // The full 32-bit range, Position far beyond Max: finite and past the edge.
    EXPECT_GE(HorizontalFill(140, INT_MAX, INT_MIN, INT_MIN + 1), 140);
    EXPECT_LE(VerticalTop(139, INT_MAX, INT_MIN, INT_MIN + 1), 0);
    EXPECT_EQ(HorizontalFill(140, INT_MAX, INT_MIN, INT_MAX), 138);
}

TEST(BarSchemes, RowsByOrdinal)
{
    const TScheme* grass = SchemeOf(csGrass);
    ASSERT_NE(grass, nullptr);
    // The main window's stored bar colours.
    EXPECT_EQ(grass->ColorBorder, 0x00156F37);
    EXPECT_EQ(grass->BackColorFace, 0x00CBF5DC);
    EXPECT_EQ(grass->BackColorGrad, clWhite);
    EXPECT_EQ(grass->ForeColorFace, 0x00C9F5DB);
    EXPECT_EQ(grass->ForeColorGrad, 0x0028C162);
    EXPECT_EQ(SchemeOf(csDesert)->ForeColorGrad, 0x00007BB7);
    EXPECT_EQ(SchemeOf(csToxic)->ForeColorGrad, 0x00468E8E);
    EXPECT_EQ(SchemeOf(csCustom), nullptr);
    EXPECT_EQ(SchemeOf(static_cast<TColorScheme>(13)), nullptr);

    // Light schemes share a white background end; dark ones a black border.
    for (int s = static_cast<int>(csDesert); s <= static_cast<int>(csToxic); ++s) {
        const TScheme& row = *SchemeOf(static_cast<TColorScheme>(s));
        if (s <= static_cast<int>(csSun)) {
            EXPECT_EQ(row.BackColorGrad, clWhite) << s;
            EXPECT_NE(row.ColorBorder, clBlack) << s;
        } else {
            EXPECT_EQ(row.ColorBorder, clBlack) << s;
            EXPECT_NE(row.BackColorGrad, clWhite) << s;
        }
    }
}
