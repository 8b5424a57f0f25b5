// Where the gradient button paints its glyph and caption, and with which of
// its colour sets. Pure functions of sizes and state, so the button's paint
// only measures, asks here and draws. Platform-free.
#pragma once

#include <cstdint>

#include "controls/gradientbutton_scheme.h"

enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// VisualState of an enabled button.
enum class TButtonVisualState : std::uint8_t { vsNormal, vsOver, vsDown };

struct TButtonPaintInput {
    int Width = 0, Height = 0;            // the whole button
    int TextWidth = 0, TextHeight = 0;    // the caption as the canvas measures it ("&" counted)
    bool CaptionEmpty = true;
    bool HasGlyph = false;                // the glyph bitmap holds a picture
    int GlyphWidth = 0, GlyphHeight = 0;
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    int Spacing = 4;
    bool Pressed = false;                 // VisualState is vsDown
};

struct TButtonPaintGeometry {
    // Caption rectangle: (TextX, TextY) - (TextX + TextWidth, TextY + TextHeight),
    // drawn centred in it without clipping.
    int TextX = 0, TextY = 0;
    // Top-left corner of the glyph (meaningful only with HasGlyph).
    int GlyphX = 0, GlyphY = 0;
};

// The caption is centred together with the glyph; Spacing separates them
// only when there is a caption; a pressed button shifts glyph and caption
// one pixel right and down. Divisions truncate toward zero.
TButtonPaintGeometry ButtonPaintGeometry(const TButtonPaintInput& in);

// The colours one paint uses: the six of a state and the focus rectangle's.
struct TButtonColorSet {
    TColor Face, Grad, Light, Dark, Border, Text, Focus;
};

// A disabled button paints with the disabled set whatever its VisualState;
// an enabled one with the set of its state.
TButtonColorSet ActiveColorSet(const GradientButton::TColors& colors, bool enabled, TButtonVisualState state);

// The set while high contrast is on: the user's system colours, a flat face
// framed in the text colour, highlighted while hot or pressed.
TButtonColorSet HighContrastColorSet(bool enabled, TButtonVisualState state);
// The set in the dark theme: the same scheme's colours taken down toward
// black alike, so every relation between them (the pressed set's swapped
// bevels, a face lighter than its gradient end) stays as designed; the
// border keeps its colour to stand out from the dark window, and the text is
// light and reads at 4.5 : 1 on both ends of the face.
TButtonColorSet DarkColorSet(const GradientButton::TColors& colors, bool enabled, TButtonVisualState state);
