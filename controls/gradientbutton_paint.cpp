#include "controls/gradientbutton_paint.h"

#include "toolkit/darkpalette.h"

using enum TButtonLayout;
using enum TButtonVisualState;

using namespace GradientButton;

TButtonPaintGeometry ButtonPaintGeometry(const TButtonPaintInput& in)
{
    TButtonPaintGeometry g;
    const int tx = (in.Width - in.TextWidth) / 2;
    const int ty = (in.Height - in.TextHeight) / 2;
    g.TextX = tx;
    g.TextY = ty;

    if (in.HasGlyph) {
        const int gw = in.GlyphWidth, gh = in.GlyphHeight, s = in.Spacing;
        const bool spaced = !in.CaptionEmpty;
        // The glyph is placed from the text origin before it moves; the
        // remainder goes to the glyph side so the text keeps its half.
        switch (in.Layout) {
        case blGlyphLeft:
            g.GlyphX = tx - gw / 2;
            g.GlyphY = (in.Height - gh) / 2;
            g.TextX += gw / 2;
            if (spaced) {
                g.GlyphX -= s / 2 + s % 2;
                g.TextX += s / 2;
            }
            break;
        case blGlyphRight:
            g.GlyphX = tx + in.TextWidth - gw / 2;
            g.GlyphY = (in.Height - gh) / 2;
            g.TextX -= gw / 2;
            if (spaced) {
                g.GlyphX += s / 2 + s % 2;
                g.TextX -= s / 2;
            }
            break;
        case blGlyphTop:
            g.GlyphX = (in.Width - gw) / 2;
            g.GlyphY = ty - gh / 2 - gh % 2;
            g.TextY += gh / 2;
            if (spaced) {
                g.GlyphY -= s / 2 + s % 2;
                g.TextY += s / 2;
            }
            break;
        case blGlyphBottom:
            g.GlyphX = (in.Width - gw) / 2;
            g.GlyphY = ty + in.TextHeight - gh / 2;
            g.TextY -= gh / 2;
            if (spaced) {
                g.GlyphY += s / 2 + s % 2;
                g.TextY -= s / 2;
            }
            break;
        }
        if (in.Pressed) {
            ++g.GlyphX;
            ++g.GlyphY;
        }
    }
    if (in.Pressed) {
        ++g.TextX;
        ++g.TextY;
    }
    return g;
}

TButtonColorSet ActiveColorSet(const TColors& colors, bool enabled, TButtonVisualState state)
{
    int first = ciColorFace;
    if (!enabled) {
        first = ciDisabledColorFace;
    } else if (state == vsOver) {
        first = ciOverColorFace;
    } else if (state == vsDown) {
        first = ciDownColorFace;
    }
    return {colors[first + crFace],   colors[first + crGrad], colors[first + crLight],
            colors[first + crDark],   colors[first + crBorder], colors[first + crText],
            colors[ciColorFocusRect]};
}

TButtonColorSet DarkColorSet(const GradientButton::TColors& colors, bool enabled, TButtonVisualState state)
{
    constexpr int kTowardBlack = 176;  // of 256
    constexpr TColor kLightText = 0x00F0F0F0, kDimText = 0x00A0A0A0;
    const TButtonColorSet light = ActiveColorSet(colors, enabled, state);
    auto down = [](TColor c) { return MixColor(c, clBlack, kTowardBlack); };
    TButtonColorSet dark{down(light.Face), down(light.Grad), down(light.Light), down(light.Dark),
                         light.Border,     kLightText,      light.Focus};
    const TColor brighter = ColorLuminance(dark.Face) > ColorLuminance(dark.Grad) ? dark.Face : dark.Grad;
    dark.Text = ReadableOn(enabled ? kLightText : kDimText, brighter);
    return dark;
}

TButtonColorSet HighContrastColorSet(bool enabled, TButtonVisualState state)
{
    if (!enabled) return {clBtnFace, clBtnFace, clBtnFace, clBtnFace, clGrayText, clGrayText, clGrayText};
    if (state == vsNormal) return {clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnText, clBtnText, clBtnText};
    return {clHighlight, clHighlight, clHighlight, clHighlight, clBtnText, clHighlightText, clHighlightText};
}
