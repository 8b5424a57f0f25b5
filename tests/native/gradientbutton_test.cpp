#include <gtest/gtest.h>

#include "toolkit/accel.h"
#include "toolkit/contrast.h"
#include "toolkit/darkpalette.h"
#include "controls/gradientbutton_paint.h"

using enum TButtonLayout;
using enum TButtonVisualState;
using enum GradientButton::TColorScheme;

using namespace GradientButton;

namespace {

int Luma(TColor c) { return 299 * ColorRed(c) + 587 * ColorGreen(c) + 114 * ColorBlue(c); }

TButtonPaintInput Button(TButtonLayout layout, int spacing, int glyphW = 16, int glyphH = 16)
{
    TButtonPaintInput in;
    in.Width = 150;
    in.Height = 27;
    in.TextWidth = 80;
    in.TextHeight = 13;
    in.CaptionEmpty = false;
    in.HasGlyph = true;
    in.GlyphWidth = glyphW;
    in.GlyphHeight = glyphH;
    in.Layout = layout;
    in.Spacing = spacing;
    return in;
}

} // namespace

TEST(ButtonSchemes, WriteTheirColumnByTheSetterIndex)
{
    const TScheme* grass = SchemeOf(csNeoGrass);
    ASSERT_NE(grass, nullptr);
    // The main window's stored values.
    EXPECT_EQ(grass->Colors[ciColorFace], 0x00DDF9E8);
    EXPECT_EQ(grass->Colors[ciColorText], clBlack);
    EXPECT_EQ(grass->Colors[ciDisabledColorGrad], clWhite);
    EXPECT_EQ(grass->Colors[ciDisabledColorBorder], clGray);
    // Dark comes before Light in the index order.
    EXPECT_EQ(grass->Colors[ciColorDark], 0x0024B95C);
    EXPECT_EQ(grass->Colors[ciColorLight], 0x00CBF5DB);
    EXPECT_EQ(grass->Colors[ciColorFocusRect], 0x0024B95C);
    EXPECT_EQ(SchemeOf(csSilver)->Colors[ciColorFocusRect], 0x008A8A8A);
    EXPECT_EQ(SchemeOf(csNeoSun)->Colors[ciDownColorFace], 0x0005D1F5);
    EXPECT_EQ(SchemeOf(csCustom), nullptr);
    EXPECT_EQ(SchemeOf(static_cast<TColorScheme>(200)), nullptr);
}

TEST(ButtonSchemes, PlainSchemesLeaveTheGradientEndsAndTurnGradientOff)
{
    for (int s = 0; s < 12; ++s) {
        const TScheme& scheme = *SchemeOf(static_cast<TColorScheme>(s));
        const bool neo = s <= static_cast<int>(csNeoSun);
        EXPECT_EQ(scheme.Gradient, neo) << s;
        int written = 0;
        for (int i = 0; i < ColorCount; ++i) written += scheme.Writes(i);
        EXPECT_EQ(written, neo ? 25 : 21) << s;
        EXPECT_EQ(scheme.Writes(ciDownColorGrad), neo) << s;
        EXPECT_TRUE(scheme.Writes(ciColorFocusRect)) << s;
    }
}

TEST(ButtonSchemes, PressedSetLooksSunken)
{
    // The pressed set's light edge is darker than its dark edge in every
    // scheme, and a Neo face is darker than its gradient end: a swapped
    // column in the tables shows here.
    for (int s = 0; s < 12; ++s) {
        const TColors& c = SchemeOf(static_cast<TColorScheme>(s))->Colors;
        EXPECT_LT(Luma(c[ciDownColorLight]), Luma(c[ciDownColorDark])) << s;
        EXPECT_GT(Luma(c[ciColorLight]), Luma(c[ciColorDark])) << s;
        if (s <= static_cast<int>(csNeoSun)) {
            EXPECT_LT(Luma(c[ciDownColorFace]), Luma(c[ciDownColorGrad])) << s;
        }
        // The dark theme's counterpart looks sunken the same way.
        const TButtonColorSet darkDown = DarkColorSet(c, true, vsDown);
        EXPECT_LT(Luma(darkDown.Light), Luma(darkDown.Dark)) << s;
        if (s <= static_cast<int>(csNeoSun)) {
            EXPECT_LT(Luma(darkDown.Face), Luma(darkDown.Grad)) << s;
        }
    }
}

// In the dark theme every scheme's face is dark in every state, and its
// text reads at 4.5 : 1 on both ends of the gradient.
TEST(ButtonSchemes, DarkSetsAreDarkAndReadInEveryScheme)
{
    auto rgb = [](TColor c) {
        return std::uint32_t{ColorRed(c)} << 16 | std::uint32_t{ColorGreen(c)} << 8 | ColorBlue(c);
    };
    for (int s = 0; s < 12; ++s)
        for (bool enabled : {true, false})
            for (auto state : {vsNormal, vsOver, vsDown}) {
                const TButtonColorSet set = DarkColorSet(SchemeOf(static_cast<TColorScheme>(s))->Colors, enabled, state);
                for (TColor face : {set.Face, set.Grad}) {
                    EXPECT_LT(ColorLuminance(face), 0.2) << s << " " << enabled << " " << static_cast<int>(state);
                    EXPECT_GE(ContrastRatio(rgb(set.Text), rgb(face)), kReadableContrast)
                        << s << " " << enabled << " " << static_cast<int>(state);
                }
            }
}

TEST(ButtonSchemes, NewButtonIsNeoDesertWithWhiteGradientEnds)
{
    const TColors initial = InitialColors();
    const TColors& desert = SchemeOf(csNeoDesert)->Colors;
    EXPECT_EQ(initial[ciOverColorGrad], clWhite);
    EXPECT_EQ(initial[ciDownColorGrad], clWhite);
    EXPECT_EQ(desert[ciOverColorGrad], 0x0000A3F0);
    EXPECT_EQ(desert[ciDownColorGrad], 0x0077D2FF);
    for (int i = 0; i < ColorCount; ++i) {
        if (i != ciOverColorGrad && i != ciDownColorGrad) EXPECT_EQ(initial[i], desert[i]) << i;
    }
}

TEST(ButtonColorSets, DisabledWinsOverEveryState)
{
    const TColors& c = SchemeOf(csNeoGrass)->Colors;
    for (auto state : {vsNormal, vsOver, vsDown}) {
        const TButtonColorSet set = ActiveColorSet(c, false, state);
        EXPECT_EQ(set.Text, c[ciDisabledColorText]);
        EXPECT_EQ(set.Face, c[ciDisabledColorFace]);
    }
    const TButtonColorSet down = ActiveColorSet(c, true, vsDown);
    EXPECT_EQ(down.Light, c[ciDownColorLight]);
    EXPECT_EQ(down.Dark, c[ciDownColorDark]);
    EXPECT_EQ(down.Grad, c[ciDownColorGrad]);
    EXPECT_EQ(ActiveColorSet(c, true, vsOver).Border, c[ciOverColorBorder]);
    EXPECT_EQ(ActiveColorSet(c, true, vsNormal).Face, c[ciColorFace]);
}

TEST(ButtonGeometry, CaptionAloneIsCentred)
{
    TButtonPaintInput in = Button(blGlyphLeft, 4);
    in.HasGlyph = false;
    const auto g = ButtonPaintGeometry(in);
    EXPECT_EQ(g.TextX, 35);
    EXPECT_EQ(g.TextY, 7);
    in.Width = 151;  // odd remainder truncates
    EXPECT_EQ(ButtonPaintGeometry(in).TextX, 35);
}

TEST(ButtonGeometry, GlyphWithoutCaptionIsCentredAndSpacingIgnored)
{
    for (auto layout : {blGlyphLeft, blGlyphRight}) {
        TButtonPaintInput in = Button(layout, 10);
        in.CaptionEmpty = true;
        in.TextWidth = 0;
        const auto g = ButtonPaintGeometry(in);
        EXPECT_EQ(g.GlyphX, (150 - 16) / 2) << int(layout);
        EXPECT_EQ(g.GlyphY, (27 - 16) / 2) << int(layout);
    }
}

TEST(ButtonGeometry, GapBetweenGlyphAndText)
{
    // Left: zero spacing touches, 4 leaves 4 pixels.
    auto gapLeft = [](int spacing, int glyphW) {
        const auto g = ButtonPaintGeometry(Button(blGlyphLeft, spacing, glyphW));
        return g.TextX - (g.GlyphX + glyphW);
    };
    EXPECT_EQ(gapLeft(0, 16), 0);
    EXPECT_EQ(gapLeft(4, 16), 4);
    // An odd glyph width loses one pixel on the left (overlaps at spacing 0).
    EXPECT_EQ(gapLeft(4, 15), 3);
    EXPECT_EQ(gapLeft(0, 15), -1);

    for (int glyph : {15, 16}) {
        for (int spacing : {0, 3, 4}) {
            auto r = ButtonPaintGeometry(Button(blGlyphRight, spacing, glyph, glyph));
            EXPECT_EQ(r.GlyphX - (r.TextX + 80), spacing) << glyph << "/" << spacing;
            auto t = ButtonPaintGeometry(Button(blGlyphTop, spacing, glyph, glyph));
            EXPECT_EQ(t.TextY - (t.GlyphY + glyph), spacing) << glyph << "/" << spacing;
            auto b = ButtonPaintGeometry(Button(blGlyphBottom, spacing, glyph, glyph));
            EXPECT_EQ(b.GlyphY - (b.TextY + 13), spacing) << glyph << "/" << spacing;
        }
    }
}

TEST(ButtonGeometry, OptimizeButtonOfTheMainWindow)
{
    // 150 x 27, glyph 16 x 16 on the left, spacing 0.
    const auto g = ButtonPaintGeometry(Button(blGlyphLeft, 0));
    EXPECT_EQ(g.GlyphX, 27);
    EXPECT_EQ(g.GlyphY, 5);
    EXPECT_EQ(g.TextX, 43);
    EXPECT_EQ(g.TextY, 7);
}

TEST(ButtonGeometry, PressedMovesGlyphAndCaptionByOnePixel)
{
    for (auto layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        TButtonPaintInput in = Button(layout, 4);
        const auto up = ButtonPaintGeometry(in);
        in.Pressed = true;
        const auto down = ButtonPaintGeometry(in);
        EXPECT_EQ(down.GlyphX, up.GlyphX + 1);
        EXPECT_EQ(down.GlyphY, up.GlyphY + 1);
        EXPECT_EQ(down.TextX, up.TextX + 1);
        EXPECT_EQ(down.TextY, up.TextY + 1);
    }
    TButtonPaintInput in = Button(blGlyphLeft, 4);
    in.HasGlyph = false;
    in.Pressed = true;
    EXPECT_EQ(ButtonPaintGeometry(in).TextX, 36);
}

TEST(ButtonGeometry, NegativeSpacingTruncatesTowardZero)
{
    // -3 div 2 = -1, -3 mod 2 = -1: the glyph moves 2 pixels in, the text 1.
    const auto g0 = ButtonPaintGeometry(Button(blGlyphLeft, 0));
    const auto g = ButtonPaintGeometry(Button(blGlyphLeft, -3));
    EXPECT_EQ(g.GlyphX, g0.GlyphX + 2);
    EXPECT_EQ(g.TextX, g0.TextX - 1);
}

TEST(Accelerator, IsTheCharacterAfterTheLastSingleAmpersand)
{
    EXPECT_EQ(AccelChar(L"&Optimize Now"), L'O');
    EXPECT_EQ(AccelChar(L"E&xit"), L'x');
    EXPECT_EQ(AccelChar(L"Save && &Quit"), L'Q');
    EXPECT_EQ(AccelChar(L"Fish && Chips"), 0);
    EXPECT_EQ(AccelChar(L"&&&x"), L'x');
    EXPECT_EQ(AccelChar(L"&a &b"), L'b');
    EXPECT_EQ(AccelChar(L"Trailing&"), 0);
    EXPECT_EQ(AccelChar(L""), 0);
    EXPECT_EQ(AccelChar(L"Minimize Tray"), 0);
}
