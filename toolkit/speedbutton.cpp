#include "toolkit/speedbutton.h"

#include "toolkit/accelkey.h"
#include "toolkit/highcontrast.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"
#include "toolkit/wincontrol.h"

using enum TButtonState;

namespace {

// Stands for "transparent" in the embossed image: no system grey or white.
constexpr TColor kEmbossKey = 0x00FF00FF;

bool IsDark(TColor c)
{
    const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return r + g + b < 3 * 192;
}

// The pixels of image that pass keep, drawn at (x, y) in one colour.
template <class TKeep>
void DrawSilhouette(TCanvas& canvas, const TBitmap& image, int x, int y, TColor colour, TKeep keep)
{
    const int w = image.Width(), h = image.Height();
    TBitmap layer;
    layer.SetSize(w, h);
    layer.SetTransparentColor(kEmbossKey);
    layer.SetTransparent(true);
    layer.Fill({0, 0, w, h}, kEmbossKey);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            if (keep(image.Pixel(px, py))) layer.Fill({px, py, px + 1, py + 1}, colour);
    canvas.Draw(x, y, layer);
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 23, 22);
    UpdateOpacity();
    glyph_.OnChange = [this](TObject*) { Invalidate(); };
}

void TSpeedButton::UpdateOpacity()
{
    // A raised button always fills its face; a flat one only when not transparent.
    const bool opaque = !flat_ || !transparent_;
    SetControlStyle(opaque ? (ControlStyle() | csOpaque) : (ControlStyle() & ~csOpaque));
}

void TSpeedButton::SetGlyph(const TBitmap& value)
{
    glyph_.Assign(value);
}

void TSpeedButton::SetNumGlyphs(int value)
{
    if (value < 1 || value > 4 || value == numGlyphs_) return;
    numGlyphs_ = value;
    Invalidate();
}

void TSpeedButton::SetMonochromeGlyph(bool value)
{
    if (value == monochromeGlyph_) return;
    monochromeGlyph_ = value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    if (value == flat_) return;
    flat_ = value;
    UpdateOpacity();
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value)
{
    if (value == transparent_) return;
    transparent_ = value;
    UpdateOpacity();
    Invalidate();
}

void TSpeedButton::SetSpacing(int value)
{
    if (value == spacing_) return;
    spacing_ = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int value)
{
    if (value == groupIndex_) return;
    groupIndex_ = value;
    if (groupIndex_ == 0) SetDown(false);
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    allowAllUp_ = value;
}

void TSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !allowAllUp_) return;  // one of the group stays down
    down_ = value;
    if (!dragging_) state_ = down_ ? bsExclusive : bsUp;
    ShowState();
    if (down_) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !down_ || Parent() == nullptr) return;
    for (std::size_t i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other == nullptr || other == this || other->groupIndex_ != groupIndex_ || !other->down_) continue;
        other->down_ = false;
        other->state_ = bsUp;
        other->ShowState();
    }
}

void TSpeedButton::SetState(TButtonState value)
{
    if (value == state_) return;
    state_ = value;
    ShowState();
}

void TSpeedButton::ShowState()
{
    // A button's state shows at once, not when the message loop next paints.
    if (Parent() != nullptr)
        Repaint();
    else
        Invalidate();
}

void TSpeedButton::EnabledChanged()
{
    if (!Enabled()) {
        dragging_ = false;
        state_ = down_ ? bsExclusive : bsUp;
    }
    ShowState();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled()) return;
    dragging_ = true;
    SetState(bsDown);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    SetState(inside ? bsDown : (down_ ? bsExclusive : bsUp));
}

void TSpeedButton::Click()
{
    // The click of a release comes after the capture was let go; clicks while
    // the button is still held (a repeating button's) leave it pressed.
    if (dragging_ && !MouseCapture()) {
        dragging_ = false;
        if (groupIndex_ != 0) {
            SetDown(!down_);
            state_ = down_ ? bsExclusive : bsUp;
        } else {
            state_ = bsUp;
        }
        if (Parent() != nullptr) Repaint();
    }
    TGraphicControl::Click();
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !dragging_) return;
    // Released outside: no click, the button comes back up.
    dragging_ = false;
    SetState(down_ ? bsExclusive : bsUp);
}

void TSpeedButton::MouseEnter()
{
    TGraphicControl::MouseEnter();
    mouseInControl_ = true;
    if (flat_ && Enabled() && Parent() != nullptr) Repaint();
}

void TSpeedButton::MouseLeave()
{
    TGraphicControl::MouseLeave();
    mouseInControl_ = false;
    if (flat_ && Enabled() && Parent() != nullptr) Repaint();
}

bool TSpeedButton::DialogChar(wchar_t ch, LPARAM keyData)
{
    if (IsAccel(ch, Caption()) && Enabled() && Visible() && Parent() != nullptr && Parent()->Showing()) {
        Click();
        return true;
    }
    return TGraphicControl::DialogChar(ch, keyData);
}

int TSpeedButton::GlyphWidth() const
{
    return glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_;
}

void TSpeedButton::DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state)
{
    const int w = GlyphWidth(), h = glyph_.Height();
    if (w == 0 || h == 0) return;
    int index = static_cast<int>(state);
    if (index >= numGlyphs_) index = (state == bsExclusive && numGlyphs_ > 2) ? 2 : 0;
    TBitmap part;
    part.SetSize(w, h);
    CheckGdi(BitBlt(part.DC(), 0, 0, w, h, glyph_.DC(), index * w, 0, SRCCOPY) != FALSE, L"BitBlt");
    const TColor key = glyph_.TransparentColor();
    if (monochromeGlyph_ && (HighContrast() || DarkTheme())) {
        // A mark on a system face: in the face's text colour, as the system's own arrows.
        DrawSilhouette(canvas, part, x, y, state == bsDisabled ? clGrayText : clBtnText,
                       [key](TColor c) { return c != key; });
        return;
    }
    if (state == bsDisabled && index == 0) {
        // No disabled image: emboss the dark parts of the first one.
        auto dark = [key](TColor c) { return c != key && IsDark(c); };
        DrawSilhouette(canvas, part, x + 1, y + 1, clBtnHighlight, dark);
        DrawSilhouette(canvas, part, x, y, clBtnShadow, dark);
        return;
    }
    part.SetTransparentColor(key);
    part.SetTransparent(true);
    canvas.Draw(x, y, part);
}

void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    HDC dc = canvas.Handle();
    RECT r{0, 0, Width(), Height()};
    const TButtonState drawn = Enabled() ? state_ : bsDisabled;
    const bool pushed = drawn == bsDown || drawn == bsExclusive;

    if (!flat_) {
        DrawThemedButtonFrame(dc, r, pushed);
    } else {
        if (!transparent_) {
            canvas.Brush().SetColor(ShownColor());
            canvas.FillRect(r);
        }
        if (pushed || (mouseInControl_ && Enabled())) {
            RECT edge{0, 0, Width(), Height()};
            DrawThemedEdge(dc, edge, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    }

    // Glyph and caption side by side, centred together.
    const int glyphW = GlyphWidth(), glyphH = glyph_.Empty() ? 0 : glyph_.Height();
    SIZE text{0, 0};
    if (!Caption().empty()) {
        RECT measure{0, 0, 0, 0};
        canvas.DrawText(Caption(), measure, DT_SINGLELINE | DT_CALCRECT);
        text = {measure.right, measure.bottom};
    }
    const int gap = (glyphW > 0 && text.cx > 0) ? spacing_ : 0;
    const int shift = pushed ? 1 : 0;
    int x = (Width() - (glyphW + gap + text.cx)) / 2 + shift;
    if (glyphW > 0) {
        DrawGlyph(canvas, x, (Height() - glyphH) / 2 + shift, drawn);
        x += glyphW + gap;
    }
    if (text.cx == 0) return;
    RECT textRect{x, (Height() - text.cy) / 2 + shift, x + text.cx, (Height() - text.cy) / 2 + shift + text.cy};
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (Enabled()) {
        canvas.DrawText(Caption(), textRect, DT_SINGLELINE);
    } else {
        canvas.DrawDisabledText(Caption(), textRect, DT_SINGLELINE);
    }
}

void TSpeedButton::DpiChanged(int dpi)
{
    if (glyph_.ReloadArtwork(dpi)) Invalidate();
}
