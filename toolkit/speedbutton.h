// TSpeedButton: a button without a window of its own (toolbar style), with an
// optional glyph beside its caption. It never takes the focus; its accelerator
// ("&" in the caption) clicks it. With Flat it shows a frame only while the
// mouse is over it or it is down. It can be an action's client.
//
// Glyph: one bitmap holding NumGlyphs images side by side, in the order
// up, disabled, down, stuck-down; missing images are drawn from the first
// (the disabled one embossed in the shadow colours). The bitmap's bottom-left
// pixel is its transparent colour.
//
// Deriving (a repeating button, say): the press, release and paint are the
// virtuals MouseDown, MouseUp and Paint; call the base first. While the left
// button is held on it, State() is bsDown (bsUp once the pointer is dragged
// off, bsDown again when it comes back) and MouseCapture() is true. Click()
// runs OnClick or the action; a release inside the button calls it.
#pragma once

#include <cstdint>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"

enum class TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);

    // Copies the bitmap in; an empty one removes the glyph.
    const TBitmap& Glyph() const noexcept { return glyph_; }
    void SetGlyph(const TBitmap& value);
    int NumGlyphs() const noexcept { return numGlyphs_; }
    // 1 to 4; other values are ignored.
    void SetNumGlyphs(int value);

    // The glyph is a plain mark (an arrow, say): while high contrast is on
    // its pixels are drawn in the button-text colour.
    bool MonochromeGlyph() const noexcept { return monochromeGlyph_; }
    void SetMonochromeGlyph(bool value);

    bool Flat() const noexcept { return flat_; }
    void SetFlat(bool value);
    // On: the parent's background shows around the face (flat buttons only
    // ever show it; raised ones fill their face).
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool value);
    // Pixels between the glyph and the caption.
    int Spacing() const noexcept { return spacing_; }
    void SetSpacing(int value);

    // Buttons with the same non-zero GroupIndex and parent act as a group:
    // one of them stays down. AllowAllUp lets the down one come up again.
    int GroupIndex() const noexcept { return groupIndex_; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const noexcept { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    // Stuck down (only with a GroupIndex).
    bool Down() const noexcept { return down_; }
    void SetDown(bool value);

    TButtonState State() const noexcept { return state_; }
    // The pointer is over the button.
    bool MouseInControl() const noexcept { return mouseInControl_; }

    void Click() override;
    bool DialogChar(wchar_t ch, LPARAM keyData) override;
    void ActionChanged() override { Invalidate(); }

    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    long AccessibleRole() const override;
    std::wstring AccessibleName() const override;
    std::wstring AccessibleDefaultAction() const override;
    bool DoAccessibleDefaultAction() override;
    // Shows its glyph as drawn for dpi.
    void DpiChanged(int dpi) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;

    // Draws the glyph image for state at (x, y).
    void DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state);
    void SetState(TButtonState value);
    // Draws the current state now (deferred while the button has no parent).
    void ShowState();

private:
    void UpdateOpacity();
    void UpdateExclusive();
    int GlyphWidth() const;

    TBitmap glyph_;
    int numGlyphs_ = 1;
    bool monochromeGlyph_ = false;
    bool flat_ = false;
    bool transparent_ = true;
    int spacing_ = 4;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    TButtonState state_ = TButtonState::bsUp;
};
