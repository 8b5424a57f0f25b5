#include "controls/gradientbutton.h"

#include "toolkit/accelkey.h"
#include "toolkit/highcontrast.h"
#include "toolkit/theme.h"
#include "controls/gradient.h"

using enum TButtonVisualState;

using namespace GradientButton;

TGradientButton::TGradientButton(TComponent* owner) : TCustomControl(owner), colors_(InitialColors())
{
    // Quick successive clicks are clicks, as on any push button, not a press
    // swallowed as a double click.
    SetControlStyle(ControlStyle() & static_cast<TControlStyle>(~csDoubleClicks));
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
    // The scheme's own colours, except white hot, pressed and disabled
    // gradient ends, still reading as csNeoDesert.
    colorScheme_ = TColorScheme::csNeoDesert;
    gradient_ = true;
}

TGradientButton::~TGradientButton() = default;

void TGradientButton::SetColor(TColorIndex index, TColor value)
{
    if (index < 0 || index >= ColorCount) return;
    colors_[static_cast<size_t>(index)] = value;
    // A hand-set colour no longer belongs to a named scheme, so the layout
    // stores the button as custom and reloads exactly these colours.
    colorScheme_ = TColorScheme::csCustom;
    Invalidate();
}

void TGradientButton::SetColorScheme(TColorScheme value)
{
    colorScheme_ = value;
    if (const TScheme* scheme = SchemeOf(value)) {
        for (int i = 0; i < ColorCount; ++i)
            if (scheme->Writes(i)) colors_[static_cast<size_t>(i)] = scheme->Colors[static_cast<size_t>(i)];
        gradient_ = scheme->Gradient;
    }
    Invalidate();
}

void TGradientButton::SetCtl3D(bool value)
{
    ctl3D_ = value;
    Invalidate();
}

void TGradientButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TGradientButton::SetGlyph(const TBitmap& value)
{
    glyph_.Assign(value);
    Invalidate();
}

void TGradientButton::SetSpacing(int value)
{
    spacing_ = value;
    Invalidate();
}

void TGradientButton::SetTransparentGlyph(bool value)
{
    transparentGlyph_ = value;
    Invalidate();
}

void TGradientButton::SetGradient(bool value)
{
    gradient_ = value;
    Invalidate();
}

void TGradientButton::SetDefault(bool value)
{
    default_ = value;
    if (!HandleAllocated()) return;
    if (TForm* form = GetParentForm()) form->NotifyFocusChanged();
}

void TGradientButton::Click()
{
    if (Parent() != nullptr) {
        if (TForm* form = GetParentForm()) form->SetModalResult(modalResult_);
    }
    visualState_ = vsNormal;
    Repaint();
    TCustomControl::Click();
}

bool TGradientButton::DialogKey(WORD key, LPARAM keyData)
{
    const bool modifiers =
        GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || (HIWORD(keyData) & KF_ALTDOWN) != 0;
    const bool own = (key == VK_RETURN && hasFocus_) || (key == VK_ESCAPE && cancel_);
    if ((own && !modifiers && CanFocus()) || (default_ && key == VK_RETURN && CanFocus())) {
        Click();
        return true;
    }
    return TCustomControl::DialogKey(key, keyData);
}

bool TGradientButton::DialogChar(wchar_t ch, LPARAM)
{
    // A button the user cannot see (hidden, or on a hidden page) is not
    // clicked by its accelerator.
    if (!Enabled() || !Showing() || !IsAccel(ch, Caption())) return false;
    Click();
    return true;
}

void TGradientButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    std::weak_ptr<int> alive = lifeToken_;
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != TMouseButton::mbLeft) return;
    mousePressed_ = true;
    visualState_ = vsDown;
    if (TabStop() && CanFocus() && !Focused()) SetFocus();
    if (alive.expired()) return;
    Repaint();
}

void TGradientButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    std::weak_ptr<int> alive = lifeToken_;
    TCustomControl::MouseUp(button, shift, x, y);
    if (alive.expired()) return;
    mousePressed_ = false;
    // Row 0 and column 0 count as outside here.
    if (x > 0 && x < Width() && y > 0 && y < Height()) visualState_ = hotTrack_ ? vsOver : vsNormal;
    Repaint();
}

void TGradientButton::MouseEnter()
{
    if (!hotTrack_) return;
    visualState_ = mousePressed_ ? vsDown : vsOver;
    Repaint();
}

void TGradientButton::MouseLeave()
{
    std::weak_ptr<int> alive = lifeToken_;
    TCustomControl::MouseLeave();
    if (alive.expired()) return;
    visualState_ = vsNormal;
    Repaint();
}

void TGradientButton::GotFocus()
{
    hasFocus_ = true;
    Repaint();
}

void TGradientButton::LostFocus()
{
    hasFocus_ = false;
    visualState_ = vsNormal;
    Repaint();
}

// Key-down and key-up stay with the button: OnKeyDown and OnKeyUp are not raised.
void TGradientButton::KeyDown(WORD& key, TShiftState)
{
    std::weak_ptr<int> alive = lifeToken_;
    if (key == VK_SPACE) {
        visualState_ = vsDown;
    } else if (key == VK_RETURN) {
        Click();
        if (alive.expired()) return;
    }
    Repaint();
}

void TGradientButton::KeyUp(WORD& key, TShiftState)
{
    if (key != VK_SPACE) return;
    visualState_ = vsNormal;
    Repaint();
    Click();
}

void TGradientButton::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    Invalidate();
}

void TGradientButton::TextChanged()
{
    TCustomControl::TextChanged();  // keeps the window text equal to the caption
    Invalidate();
}

void TGradientButton::FontChanged()
{
    TCustomControl::FontChanged();
    Invalidate();
}

void TGradientButton::Paint()
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TCanvas& canvas = bitmap.Canvas();
    // Under high contrast the user's colours replace the scheme, on a flat
    // face; the dark theme takes the scheme down to its dark counterpart.
    const bool highContrast = HighContrast();
    const TButtonColorSet set = highContrast ? HighContrastColorSet(Enabled(), visualState_)
                                : DarkTheme()  ? DarkColorSet(colors_, Enabled(), visualState_)
                                               : ActiveColorSet(colors_, Enabled(), visualState_);
    PaintFace(bitmap, set, w, h, gradient_ && !highContrast);
    PaintGlyphAndCaption(canvas, set, w, h);
    PaintFrame(canvas, set, w, h);
    Canvas().Draw(0, 0, bitmap);
}

void TGradientButton::PaintFace(TBitmap& bitmap, const TButtonColorSet& set, int w, int h, bool gradient)
{
    bitmap.Fill({0, 0, w, h}, set.Face);
    if (!gradient) return;
    // One row at a time, straight into the pixels; the row for k = h falls
    // below the bitmap.
    const std::vector<TColor> rows = GradientColors(set.Face, set.Grad, h);
    for (int k = 0; k < static_cast<int>(rows.size()) && k < h; ++k) bitmap.Fill({0, k, w, k + 1}, rows[static_cast<size_t>(k)]);
}

void TGradientButton::PaintGlyphAndCaption(TCanvas& canvas, const TButtonColorSet& set, int w, int h)
{
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(set.Text);
    const std::wstring& caption = Caption();
    const SIZE text = canvas.TextExtent(caption);

    TButtonPaintInput in;
    in.Width = w;
    in.Height = h;
    in.TextWidth = text.cx;
    in.TextHeight = text.cy;
    in.CaptionEmpty = caption.empty();
    in.HasGlyph = !glyph_.Empty();
    in.GlyphWidth = glyph_.Width();
    in.GlyphHeight = glyph_.Height();
    // The glyph goes on the side the text starts from.
    in.Layout = !RightToLeft() ? layout_
                : layout_ == TButtonLayout::blGlyphLeft ? TButtonLayout::blGlyphRight
                : layout_ == TButtonLayout::blGlyphRight ? TButtonLayout::blGlyphLeft
                                                          : layout_;
    in.Spacing = spacing_;
    in.Pressed = visualState_ == vsDown;
    const TButtonPaintGeometry g = ButtonPaintGeometry(in);

    if (in.HasGlyph) {
        glyph_.SetTransparentColor(glyph_.Pixel(0, 0));
        glyph_.SetTransparent(transparentGlyph_);
        canvas.Draw(g.GlyphX, g.GlyphY, glyph_);
    }
    if (!caption.empty()) {
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        RECT r{g.TextX, g.TextY, g.TextX + text.cx, g.TextY + text.cy};
        canvas.DrawText(caption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);
    }
}

void TGradientButton::PaintFrame(TCanvas& canvas, const TButtonColorSet& set, int w, int h)
{
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetColor(set.Border);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(0, 0, w, h);
    if (ctl3D_) {
        canvas.Pen().SetColor(set.Light);
        canvas.MoveTo(1, h - 2);
        canvas.LineTo(1, 1);
        canvas.LineTo(w - 1, 1);
        canvas.Pen().SetColor(set.Dark);
        canvas.MoveTo(w - 2, 1);
        canvas.LineTo(w - 2, h - 2);
        canvas.LineTo(1, h - 2);
    }
    if (hasFocus_) {
        canvas.Pen().SetColor(set.Focus);
        canvas.Rectangle(3, 3, w - 3, h - 3);
    }
}

void TGradientButton::DpiChanged(int dpi)
{
    if (glyph_.ReloadArtwork(dpi)) Invalidate();
}

int TGradientButton::TextWidthNeeded() const
{
    if (Caption().empty()) return 0;
    // The glyph and its spacing beside the text, and the bevel and the focus
    // rectangle on either side.
    constexpr int kEdges = 2 * 4;
    const int glyph = glyph_.Empty() ? 0 : glyph_.Width() + spacing_;
    return glyph + TextWidth(Caption()) + ScaleDesign(kEdges);
}
