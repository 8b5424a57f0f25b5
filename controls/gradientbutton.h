// TGradientButton: an owner-drawn push button with a window of its own, in
// the tab order. Its face is one of four colour sets (normal, hot, pressed,
// disabled), flat or a vertical gradient, with an optional glyph beside the
// centred caption. It answers Return and Escape as a dialog's default and
// cancel button, hands ModalResult to its form and clicks on its accelerator.
//
//   auto* b = CreateComponent<TGradientButton>(form);
//   b->SetParent(form);
//   b->SetBounds(8, 8, 105, 25);
//   b->SetColorScheme(TGradientButton::TColorScheme::csNeoGrass);
//   b->SetCaption(L"&Optimize Now");
//   b->Glyph().LoadFromResourceID(instance, IDB_BUTTON_OPTIMIZE);  // or SetGlyph(bitmap)
//   b->OnClick = Bind(form, &TFormMain::ButtonClick);            // or SetAction(action)
#pragma once

#include <cstdint>

#include "controls/gradientbutton_paint.h"
#include "controls/gradientbutton_scheme.h"
#include "toolkit/bitmap.h"
#include "toolkit/customcontrol.h"
#include "toolkit/forms.h"

class TGradientButton : public TCustomControl {
public:
    using TColorScheme = GradientButton::TColorScheme;
    using TColorIndex = GradientButton::TColorIndex;

    explicit TGradientButton(TComponent* owner);
    ~TGradientButton() override;

    // The 25 colours share one setter: it stores the colour, switches the
    // scheme to csCustom (even for an unchanged value) and repaints later.
    TColor GetColor(TColorIndex index) const { return colors_.at(static_cast<size_t>(index)); }
    void SetColor(TColorIndex index, TColor value);
    TColor ColorFace() const noexcept { return colors_[GradientButton::ciColorFace]; }
    void SetColorFace(TColor v) { SetColor(GradientButton::ciColorFace, v); }
    TColor ColorGrad() const noexcept { return colors_[GradientButton::ciColorGrad]; }
    void SetColorGrad(TColor v) { SetColor(GradientButton::ciColorGrad, v); }
    TColor ColorDark() const noexcept { return colors_[GradientButton::ciColorDark]; }
    void SetColorDark(TColor v) { SetColor(GradientButton::ciColorDark, v); }
    TColor ColorLight() const noexcept { return colors_[GradientButton::ciColorLight]; }
    void SetColorLight(TColor v) { SetColor(GradientButton::ciColorLight, v); }
    TColor ColorBorder() const noexcept { return colors_[GradientButton::ciColorBorder]; }
    void SetColorBorder(TColor v) { SetColor(GradientButton::ciColorBorder, v); }
    TColor ColorText() const noexcept { return colors_[GradientButton::ciColorText]; }
    void SetColorText(TColor v) { SetColor(GradientButton::ciColorText, v); }
    TColor OverColorFace() const noexcept { return colors_[GradientButton::ciOverColorFace]; }
    void SetOverColorFace(TColor v) { SetColor(GradientButton::ciOverColorFace, v); }
    TColor OverColorGrad() const noexcept { return colors_[GradientButton::ciOverColorGrad]; }
    void SetOverColorGrad(TColor v) { SetColor(GradientButton::ciOverColorGrad, v); }
    TColor OverColorDark() const noexcept { return colors_[GradientButton::ciOverColorDark]; }
    void SetOverColorDark(TColor v) { SetColor(GradientButton::ciOverColorDark, v); }
    TColor OverColorLight() const noexcept { return colors_[GradientButton::ciOverColorLight]; }
    void SetOverColorLight(TColor v) { SetColor(GradientButton::ciOverColorLight, v); }
    TColor OverColorBorder() const noexcept { return colors_[GradientButton::ciOverColorBorder]; }
    void SetOverColorBorder(TColor v) { SetColor(GradientButton::ciOverColorBorder, v); }
    TColor OverColorText() const noexcept { return colors_[GradientButton::ciOverColorText]; }
    void SetOverColorText(TColor v) { SetColor(GradientButton::ciOverColorText, v); }
    TColor DownColorFace() const noexcept { return colors_[GradientButton::ciDownColorFace]; }
    void SetDownColorFace(TColor v) { SetColor(GradientButton::ciDownColorFace, v); }
    TColor DownColorGrad() const noexcept { return colors_[GradientButton::ciDownColorGrad]; }
    void SetDownColorGrad(TColor v) { SetColor(GradientButton::ciDownColorGrad, v); }
    TColor DownColorDark() const noexcept { return colors_[GradientButton::ciDownColorDark]; }
    void SetDownColorDark(TColor v) { SetColor(GradientButton::ciDownColorDark, v); }
    TColor DownColorLight() const noexcept { return colors_[GradientButton::ciDownColorLight]; }
    void SetDownColorLight(TColor v) { SetColor(GradientButton::ciDownColorLight, v); }
    TColor DownColorBorder() const noexcept { return colors_[GradientButton::ciDownColorBorder]; }
    void SetDownColorBorder(TColor v) { SetColor(GradientButton::ciDownColorBorder, v); }
    TColor DownColorText() const noexcept { return colors_[GradientButton::ciDownColorText]; }
    void SetDownColorText(TColor v) { SetColor(GradientButton::ciDownColorText, v); }
    TColor DisabledColorFace() const noexcept { return colors_[GradientButton::ciDisabledColorFace]; }
    void SetDisabledColorFace(TColor v) { SetColor(GradientButton::ciDisabledColorFace, v); }
    TColor DisabledColorGrad() const noexcept { return colors_[GradientButton::ciDisabledColorGrad]; }
    void SetDisabledColorGrad(TColor v) { SetColor(GradientButton::ciDisabledColorGrad, v); }
    TColor DisabledColorDark() const noexcept { return colors_[GradientButton::ciDisabledColorDark]; }
    void SetDisabledColorDark(TColor v) { SetColor(GradientButton::ciDisabledColorDark, v); }
    TColor DisabledColorLight() const noexcept { return colors_[GradientButton::ciDisabledColorLight]; }
    void SetDisabledColorLight(TColor v) { SetColor(GradientButton::ciDisabledColorLight, v); }
    TColor DisabledColorBorder() const noexcept { return colors_[GradientButton::ciDisabledColorBorder]; }
    void SetDisabledColorBorder(TColor v) { SetColor(GradientButton::ciDisabledColorBorder, v); }
    TColor DisabledColorText() const noexcept { return colors_[GradientButton::ciDisabledColorText]; }
    void SetDisabledColorText(TColor v) { SetColor(GradientButton::ciDisabledColorText, v); }
    TColor ColorFocusRect() const noexcept { return colors_[GradientButton::ciColorFocusRect]; }
    void SetColorFocusRect(TColor v) { SetColor(GradientButton::ciColorFocusRect, v); }

    // A named scheme writes its colours (the plain ones all but the four
    // gradient ends) and sets Gradient; csCustom changes nothing.
    TColorScheme ColorScheme() const noexcept { return colorScheme_; }
    void SetColorScheme(TColorScheme value);

    // Inner bevel lines; not the framework's 3-D look.
    bool Ctl3D() const noexcept { return ctl3D_; }
    void SetCtl3D(bool value);
    TButtonLayout Layout() const noexcept { return layout_; }
    void SetLayout(TButtonLayout value);
    // The button's own picture: SetGlyph copies; changing Glyph() in place
    // shows at the next paint.
    TBitmap& Glyph() noexcept { return glyph_; }
    void SetGlyph(const TBitmap& value);
    int Spacing() const noexcept { return spacing_; }
    void SetSpacing(int value);
    // The glyph's top-left pixel colour is left out wherever it occurs.
    bool TransparentGlyph() const noexcept { return transparentGlyph_; }
    void SetTransparentGlyph(bool value);
    bool Gradient() const noexcept { return gradient_; }
    void SetGradient(bool value);
    bool HotTrack() const noexcept { return hotTrack_; }
    void SetHotTrack(bool value) { hotTrack_ = value; }

    // Dialog-button behaviour: Return clicks a Default button, Escape a Cancel
    // one; every click hands ModalResult (0 included) to the form.
    bool Cancel() const noexcept { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool Default() const noexcept { return default_; }
    void SetDefault(bool value);
    TModalResult ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Interaction state (read-only outside): which set an enabled button
    // paints with, whether the left button went down on it, and the focus.
    TButtonVisualState VisualState() const noexcept { return visualState_; }
    bool MousePressed() const noexcept { return mousePressed_; }
    bool HasFocus() const noexcept { return hasFocus_; }

    void Click() override;

    // What a screen reader hears (controls/accessiblecontrols.cpp).
    int TextWidthNeeded() const override;
    long AccessibleRole() const override;
    std::wstring AccessibleDefaultAction() const override;
    bool DoAccessibleDefaultAction() override;
    unsigned long AccessibleState() const override;
    bool DialogKey(WORD key, LPARAM keyData) override;
    bool DialogChar(wchar_t ch, LPARAM keyData) override;

    // Shows its glyph as drawn for dpi.
    void DpiChanged(int dpi) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    void PaintFace(TBitmap& bitmap, const TButtonColorSet& set, int w, int h, bool gradient);
    void PaintGlyphAndCaption(TCanvas& canvas, const TButtonColorSet& set, int w, int h);
    void PaintFrame(TCanvas& canvas, const TButtonColorSet& set, int w, int h);

    GradientButton::TColors colors_;
    TColorScheme colorScheme_ = TColorScheme::csNeoDesert;
    bool ctl3D_ = true;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    TBitmap glyph_;
    int spacing_ = 4;
    bool transparentGlyph_ = true;
    bool gradient_ = false;
    bool hotTrack_ = true;
    bool cancel_ = false;
    bool default_ = false;
    TModalResult modalResult_ = mrNone;
    TButtonVisualState visualState_ = TButtonVisualState::vsNormal;
    bool mousePressed_ = false;
    bool hasFocus_ = false;
};
