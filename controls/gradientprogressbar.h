// TGradientProgressBar: a windowless bar that shows Position between Min and
// Max, background and fill each a two-colour gradient inside a one-pixel
// border. Horizontal bars fill from the left, vertical ones from the bottom.
//
//   auto* bar = CreateComponent<TGradientProgressBar>(form);
//   bar->SetParent(form);
//   bar->SetBounds(8, 8, 140, 11);
//   bar->SetColorScheme(TGradientProgressBar::TColorScheme::csGrass);
//   bar->SetPosition(50);   // drawn before the call returns
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <cstdint>

#include "controls/progressbar_scheme.h"
#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/progressorientation.h"

class TGradientProgressBar : public TGraphicControl {
public:
    using TColorScheme = GradientProgressBar::TColorScheme;
    using TColorIndex = GradientProgressBar::TColorIndex;

    explicit TGradientProgressBar(TComponent* owner);

    // The five colours share one setter: it stores the colour, switches the
    // scheme to csCustom (even for an unchanged value) and repaints later.
    TColor GetColor(TColorIndex index) const;
    void SetColor(TColorIndex index, TColor value);

    TColor ColorBorder() const noexcept { return colorBorder_; }
    void SetColorBorder(TColor v) { SetColor(GradientProgressBar::ciColorBorder, v); }
    TColor BackColorFace() const noexcept { return backColorFace_; }
    void SetBackColorFace(TColor v) { SetColor(GradientProgressBar::ciBackColorFace, v); }
    TColor BackColorGrad() const noexcept { return backColorGrad_; }
    void SetBackColorGrad(TColor v) { SetColor(GradientProgressBar::ciBackColorGrad, v); }
    TColor ForeColorFace() const noexcept { return foreColorFace_; }
    void SetForeColorFace(TColor v) { SetColor(GradientProgressBar::ciForeColorFace, v); }
    TColor ForeColorGrad() const noexcept { return foreColorGrad_; }
    void SetForeColorGrad(TColor v) { SetColor(GradientProgressBar::ciForeColorGrad, v); }

    // A named scheme overwrites the five colours; csCustom keeps them.
    TColorScheme ColorScheme() const noexcept { return colorScheme_; }
    void SetColorScheme(TColorScheme value);

    // Range and value. Out-of-range requests are ignored silently: Min never
    // passes Max and Position is never set below Min. Position may exceed Max
    // (the bar then shows full). Accepted changes paint at once, so the bar is
    // current even while the caller keeps the thread busy.
    std::int32_t Max() const noexcept { return max_; }
    void SetMax(std::int32_t value);
    std::int32_t Min() const noexcept { return min_; }
    void SetMin(std::int32_t value);
    std::int32_t Position() const noexcept { return position_; }
    void SetPosition(std::int32_t value);
    // Stored only.
    std::int32_t Step() const noexcept { return step_; }
    void SetStep(std::int32_t value);

    TProgressBarOrientation Orientation() const noexcept { return orientation_; }
    void SetOrientation(TProgressBarOrientation value);

    // The value a screen reader reads: ValueText(Position) when set, else how
    // full the bar is ("40%"). A change of it is announced.
    std::function<std::wstring(std::int32_t position)> ValueText;
    long AccessibleRole() const override;
    std::wstring AccessibleName() const override { return AccessibleLabel(); }
    std::wstring AccessibleValue() const override;
    unsigned long AccessibleState() const override;

protected:
    void Paint() override;

private:
    // Paints now when the bar can; a bar not yet placed on a parent is
    // painted once it is.
    void PaintNow();
    // The five colours one paint uses.
    struct TBarColors {
        TColor Border, BackFace, BackGrad, ForeFace, ForeGrad;
    };
    // The user's colours while high contrast is on.
    static TBarColors HighContrastColors();
    // The dark theme's: the trough taken nearly to black and the fill a
    // little, so the figure stays the brightest thing in the bar.
    static TBarColors DarkColors(const TBarColors& light);
    void DrawHorizontal(TBitmap& bitmap, int w, int h, const TBarColors& colours);
    void DrawVertical(TBitmap& bitmap, int w, int h, const TBarColors& colours);
    // The fill edge as far as it changes the picture: every fill beyond the
    // border (a release run drives the strip far past Max) looks the same.
    int ShownExtent() const;
    // Runs a setter and announces the value if what a reader hears changed.
    template <class Change>
    void ChangeAnnounced(Change change);

    // The extent last drawn on the surface; a position that keeps it needs
    // no paint. Cleared when nothing was drawn.
    std::optional<int> shownExtent_;

    TColor colorBorder_ = 0;
    TColor backColorFace_ = 0;
    TColor backColorGrad_ = 0;
    TColor foreColorFace_ = 0;
    TColor foreColorGrad_ = 0;
    TColorScheme colorScheme_ = TColorScheme::csDesert;
    std::int32_t max_ = 100;
    std::int32_t min_ = 0;
    std::int32_t position_ = 0;
    std::int32_t step_ = 10;
    TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
};
