// The gradient progress bar: guarded setters, painting at once, and the
// painted pixels against worked values.
#include <gtest/gtest.h>

#include "controls/gradient.h"
#include "controls/gradientprogressbar.h"
#include "tests/controls/control_test_support.h"
#include "toolkit/loader.h"

using enum TProgressBarOrientation;

using namespace ctltest;

namespace {


constexpr TColor kGrassBorder = 0x00156F37;
// The fill band of an 11-pixel-high csGrass bar, rows 0 ... 10.
const TColor kGrassFillRows[] = {
    Rgb(219, 245, 201), Rgb(208, 240, 186), Rgb(197, 236, 172), Rgb(186, 231, 157),
    Rgb(175, 226, 142), Rgb(164, 221, 128), Rgb(153, 217, 113), Rgb(142, 212, 99),
    Rgb(131, 207, 84),  Rgb(120, 202, 69),  Rgb(109, 198, 55),
};

class GradientProgressBarTest : public ::testing::Test {
protected:
    THostForm host;
    TCountingBar* bar = nullptr;

    void SetUp() override
    {
        bar = new TCountingBar(host.form.get());
        bar->SetParent(host.form.get());
        bar->SetColorScheme(TGradientProgressBar::TColorScheme::csGrass);
        Pump();
    }
    void Place(int w, int h, TProgressBarOrientation o)
    {
        bar->SetBounds(10, 10, w, h);
        bar->SetOrientation(o);
        bar->SetMax(100);
        bar->SetMin(1);
        Pump();
    }
    // The bar's own pixel (x, y) as its paint draws it.
    TColor Px(int x, int y)
    {
        TCapture cap(host.Handle(), 10 + bar->Width(), 10 + bar->Height());
        return cap.At(10 + x, 10 + y);
    }
};

TEST_F(GradientProgressBarTest, HorizontalWorkedFills)
{
    Place(140, 11, pbHorizontal);
    const std::vector<TColor> back = GradientColors(bar->BackColorFace(), bar->BackColorGrad(), 9);
    struct { int position, fill; } cases[] = {{2, 1}, {50, 68}, {100, 138}};
    for (auto c : cases) {
        // The edge takes pixel (2, H - 2): still background while the fill is one column.
        const TColor edge = c.fill > 2 ? kGrassFillRows[9] : back[9];
        SCOPED_TRACE(c.position);
        bar->SetPosition(c.position);
        TCapture cap(host.Handle(), 160, 30);
        auto px = [&](int x, int y) { return cap.At(10 + x, 10 + y); };
        for (int y = 1; y <= 9; ++y) {
            if (c.fill > 2) { EXPECT_EQ(px(2, y), kGrassFillRows[y]) << y; }
            EXPECT_EQ(px(c.fill, y), edge) << y;
        }
        if (c.fill > 1) { EXPECT_EQ(px(1, 5), kGrassFillRows[1]); }  // left highlight from (1, 1)
        if (c.fill < 138) { EXPECT_NE(px(c.fill + 1, 5), kGrassFillRows[5]); }
        EXPECT_EQ(px(0, 0), kGrassBorder);
        EXPECT_EQ(px(139, 5), kGrassBorder);
        EXPECT_EQ(px(70, 10), kGrassBorder);
    }
}

TEST_F(GradientProgressBarTest, HorizontalEmptyShowsBackgroundHighlight)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(1);
    const std::vector<TColor> back = GradientColors(bar->BackColorFace(), bar->BackColorGrad(), 9);
    for (int y = 1; y <= 9; ++y) {
        EXPECT_EQ(Px(1, y), back[1]) << y;  // column 1 takes row 1's background colour
        EXPECT_EQ(Px(60, y), back[static_cast<size_t>(y)]) << y;
    }
}

TEST_F(GradientProgressBarTest, HorizontalAboveMaxDrawsFullWithoutEdgeLine)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 150);
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(Px(138, y), kGrassFillRows[y]) << y;
    EXPECT_EQ(Px(139, 5), kGrassBorder);
    bar->SetPosition(100);
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(Px(138, y), kGrassFillRows[9]) << y;
}

TEST_F(GradientProgressBarTest, VerticalWorkedTops)
{
    Place(22, 139, pbVertical);
    const std::vector<TColor> fore = GradientColors(bar->ForeColorFace(), bar->ForeColorGrad(), 22);
    const std::vector<TColor> back = GradientColors(bar->BackColorFace(), bar->BackColorGrad(), 20);
    struct { int position, top; } cases[] = {{2, 137}, {50, 70}, {99, 2}, {100, 1}};
    for (auto c : cases) {
        SCOPED_TRACE(c.position);
        bar->SetPosition(c.position);
        TCapture cap(host.Handle(), 40, 160);
        auto px = [&](int x, int y) { return cap.At(10 + x, 10 + y); };
        // Leading edge from (W - 3, H - 3), background while the fill is one row.
        const TColor edge = c.top < 136 ? fore[19] : back[19];
        EXPECT_EQ(px(5, c.top), edge);
        if (c.top < 136) { EXPECT_EQ(px(5, c.top + 1), fore[5]); }  // fill columns
        if (c.top > 1) { EXPECT_EQ(px(5, c.top - 1), back[5]); }    // background above
        EXPECT_EQ(px(5, 137), c.top == 137 ? edge : fore[2]);  // bottom line from (2, H - 2)
        EXPECT_EQ(px(21, 50), kGrassBorder);
        EXPECT_EQ(px(5, 138), kGrassBorder);
    }
}

TEST_F(GradientProgressBarTest, GuardedSettersIgnoreOutOfRangeAndDoNotRepaint)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(50);
    const int paints = bar->Paints;
    const TColor before = Px(40, 5);
    bar->Paints = paints;

    bar->SetPosition(0);  // below Min 1
    EXPECT_EQ(bar->Position(), 50);
    bar->SetMin(101);  // above Max
    EXPECT_EQ(bar->Min(), 1);
    bar->SetMax(0);  // below Min
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Paints, paints);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(host.Handle(), &update, FALSE));
    EXPECT_EQ(Px(40, 5), before);

    // Moving the range past Position leaves Position as it was.
    bar->SetMin(60);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(Px(30, 5), Px(100, 5));  // shown empty
}

TEST_F(GradientProgressBarTest, AcceptedChangesPaintBeforeReturning)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(1);
    Pump();
    const int paints = bar->Paints;
    bar->SetPosition(100);
    EXPECT_EQ(bar->Paints, paints + 1);
    // On the window itself, with no message handled in between.
    EXPECT_EQ(ScreenPixel(host.Handle(), 10 + 50, 10 + 5), kGrassFillRows[5]);
    bar->SetStep(5);
    bar->SetMin(0);
    bar->SetMax(200);
    EXPECT_EQ(bar->Paints, paints + 4);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(host.Handle(), &update, FALSE));
}

TEST_F(GradientProgressBarTest, InvisibleBarDrawsNothing)
{
    Place(140, 11, pbHorizontal);
    bar->SetVisible(false);
    Pump();
    const int paints = bar->Paints;
    bar->SetPosition(80);
    EXPECT_EQ(bar->Position(), 80);
    EXPECT_EQ(bar->Paints, paints);
    EXPECT_EQ(Px(50, 5), clWhite);  // the form's background
}

TEST_F(GradientProgressBarTest, ColoursSwitchToCustomAndRepaintLater)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(100);
    Pump();
    const int paints = bar->Paints;
    bar->SetColorBorder(bar->ColorBorder());  // even an unchanged value
    EXPECT_EQ(bar->ColorScheme(), TGradientProgressBar::TColorScheme::csCustom);
    EXPECT_EQ(bar->Paints, paints);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(host.Handle(), &update, FALSE));
    EXPECT_LE(update.left, 10);
    EXPECT_GE(update.right, 150);

    bar->SetForeColorFace(clNavy);
    bar->SetForeColorGrad(clNavy);
    bar->SetColorScheme(TGradientProgressBar::TColorScheme::csCustom);  // keeps the colours
    EXPECT_EQ(bar->ForeColorFace(), clNavy);
    Pump();
    EXPECT_GT(bar->Paints, paints);
    EXPECT_EQ(Px(50, 5), clNavy);

    bar->SetColorScheme(TGradientProgressBar::TColorScheme::csGrass);
    EXPECT_EQ(bar->ForeColorFace(), kGrassFillRows[0]);
    EXPECT_EQ(bar->ColorBorder(), kGrassBorder);
}

TEST_F(GradientProgressBarTest, DegenerateBarsPaintWithoutFailing)
{
    // No range, and bars too small for the band or the read-backs.
    for (auto [w, h] : {std::pair{2, 2}, std::pair{1, 1}, std::pair{3, 3}, std::pair{40, 2}}) {
        for (auto o : {pbHorizontal, pbVertical}) {
            bar->SetBounds(10, 10, w, h);
            bar->SetOrientation(o);
            bar->SetMin(5);
            bar->SetMax(5);
            EXPECT_NO_THROW(bar->SetPosition(5));
            EXPECT_NO_THROW(bar->SetPosition(2000000000));
            EXPECT_NO_THROW(Pump());
        }
    }
    EXPECT_EQ(Px(0, 0), kGrassBorder);
}

TEST_F(GradientProgressBarTest, LoadingAppliesGuardsInStoredOrder)
{
    auto* loaded = new TGradientProgressBar(host.form.get());
    {
        TLoadSession load(host.form.get());
        loaded->SetColorBorder(0x00000001);
        loaded->SetColorScheme(TGradientProgressBar::TColorScheme::csGrass);  // the stored scheme wins
        loaded->SetMax(1024);
        loaded->SetMin(1);
        loaded->SetPosition(0);
        load.Finish();
    }
    EXPECT_EQ(loaded->ColorBorder(), kGrassBorder);
    EXPECT_EQ(loaded->Position(), 0);
    EXPECT_EQ(loaded->Min(), 1);
    EXPECT_EQ(loaded->Max(), 1024);
}

}  // namespace

// In a mirrored window, as in Arabic or Hebrew, the strip stands where the
// left-to-right one would, seen from the right, and fills from the right.
TEST_F(GradientProgressBarTest, InAMirroredWindowItFillsFromTheRight)
{
    Place(140, 11, pbHorizontal);
    bar->SetPosition(50);
    const TCapture ltr(host.Handle(), 320, 30);
    host.form->SetRightToLeft(true);
    Pump();
    const TCapture rtl(host.Handle(), 320, 30, true);
    host.form->SetRightToLeft(false);
    // The filled columns of the strip's middle row, and of the rest.
    auto filled = [](const TCapture& c) {
        std::vector<int> columns;
        for (int x = 0; x < 320; ++x)
            if (c.At(x, 15) == kGrassFillRows[5]) columns.push_back(x);
        return columns;
    };
    const std::vector<int> left = filled(ltr), right = filled(rtl);
    ASSERT_FALSE(left.empty());
    ASSERT_EQ(right.size(), left.size());
    // Mirrored about the window's middle, within the pixel a mirrored
    // device context may round to.
    EXPECT_NEAR(right.front(), 319 - left.back(), 1);
    EXPECT_NEAR(right.back(), 319 - left.front(), 1);
    EXPECT_GT(right.front(), 319 - 10 - 140 / 2);
}
