#include "controls/gradientprogressbar.h"

#include <algorithm>
#include <optional>

#include "controls/gradient.h"
#include "controls/progressbar_fill.h"
#include "toolkit/accessibility.h"
#include "toolkit/darkpalette.h"
#include "toolkit/highcontrast.h"
#include "toolkit/theme.h"

#include <oleacc.h>

using enum TProgressBarOrientation;

namespace {

enum class TBand { Rows, Columns };

// One gradient line per row (or column) k = 0 ... n at coordinate k, each
// spanning [from, to) on the other axis, written straight into the bitmap.
// Lines outside the bitmap are clipped.
void DrawGradient(TBitmap& bitmap, TBand band, int n, int from, int to, TColor start, TColor end)
{
    // A line drawn backwards covers (to, from], as a pen would.
    if (from > to) {
        const int last = from;
        from = to + 1;
        to = last + 1;
    }
    const std::vector<TColor> colours = GradientColors(start, end, n);
    for (int k = 0; k < static_cast<int>(colours.size()); ++k) {
        const RECT line = band == TBand::Rows ? RECT{from, k, to, k + 1} : RECT{k, from, k + 1, to};
        bitmap.Fill(line, colours[static_cast<size_t>(k)]);
    }
}

// A pixel of the composed picture; none when a tiny bar asks for one outside
// it, and the line that wanted its colour is then left out.
std::optional<TColor> PixelAt(const TBitmap& bitmap, int x, int y)
{
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return std::nullopt;
    return bitmap.Pixel(x, y);
}

void Line(TCanvas& canvas, TColor colour, int x1, int y1, int x2, int y2)
{
    canvas.Pen().SetColor(colour);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// Fill ends far outside the bitmap (Position far above Max) would overflow
// the device's coordinate range; one pixel beyond the edge looks the same.
int ClampCoordinate(int value, int limit)
{
    return std::clamp(value, -1, limit + 1);
}

}  // namespace

TGradientProgressBar::TGradientProgressBar(TComponent* owner) : TGraphicControl(owner)
{
    // Every pixel of the bar is painted, so painting at once can draw straight
    // on the parent without redrawing the parent's background first.
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(Left(), Top(), 200, 16);
    SetColorScheme(TColorScheme::csDesert);
}

TColor TGradientProgressBar::GetColor(TColorIndex index) const
{
    switch (index) {
    case GradientProgressBar::ciColorBorder: return colorBorder_;
    case GradientProgressBar::ciBackColorFace: return backColorFace_;
    case GradientProgressBar::ciBackColorGrad: return backColorGrad_;
    case GradientProgressBar::ciForeColorFace: return foreColorFace_;
    case GradientProgressBar::ciForeColorGrad: return foreColorGrad_;
    }
    return clNone;
}

void TGradientProgressBar::SetColor(TColorIndex index, TColor value)
{
    switch (index) {
    case GradientProgressBar::ciColorBorder: colorBorder_ = value; break;
    case GradientProgressBar::ciBackColorFace: backColorFace_ = value; break;
    case GradientProgressBar::ciBackColorGrad: backColorGrad_ = value; break;
    case GradientProgressBar::ciForeColorFace: foreColorFace_ = value; break;
    case GradientProgressBar::ciForeColorGrad: foreColorGrad_ = value; break;
    default: return;
    }
    // A colour set by hand no longer belongs to a named scheme, so the layout
    // stores it as custom and reloads exactly these colours.
    colorScheme_ = TColorScheme::csCustom;
    Invalidate();
}

void TGradientProgressBar::SetColorScheme(TColorScheme value)
{
    colorScheme_ = value;
    if (const GradientProgressBar::TScheme* scheme = GradientProgressBar::SchemeOf(value)) {
        colorBorder_ = scheme->ColorBorder;
        backColorFace_ = scheme->BackColorFace;
        backColorGrad_ = scheme->BackColorGrad;
        foreColorFace_ = scheme->ForeColorFace;
        foreColorGrad_ = scheme->ForeColorGrad;
    }
    Invalidate();
}

template <class Change>
void TGradientProgressBar::ChangeAnnounced(Change change)
{
    const std::wstring before = AccessibleValue();
    change();
    if (AccessibleValue() != before) NotifyAccessibleEvent(this, EVENT_OBJECT_VALUECHANGE);
}

void TGradientProgressBar::SetMax(std::int32_t value)
{
    if (value < min_) return;
    ChangeAnnounced([&] { max_ = value; });
    PaintNow();
}

void TGradientProgressBar::SetMin(std::int32_t value)
{
    if (value > max_) return;
    ChangeAnnounced([&] { min_ = value; });
    PaintNow();
}

void TGradientProgressBar::SetPosition(std::int32_t value)
{
    // The monitor is given the same figure most seconds: nothing to tell.
    if (value < min_ || value == position_) return;
    ChangeAnnounced([&] { position_ = value; });
    // Same picture: painting it again would only cost the caller (a run sets
    // the position once per block).
    if (shownExtent_ && *shownExtent_ == ShownExtent()) return;
    PaintNow();
}

long TGradientProgressBar::AccessibleRole() const
{
    return ROLE_SYSTEM_PROGRESSBAR;
}

std::wstring TGradientProgressBar::AccessibleValue() const
{
    if (ValueText) return ValueText(position_);
    return std::to_wstring(FilledPercent(position_, min_, max_)) + L"%";
}

unsigned long TGradientProgressBar::AccessibleState() const
{
    return TGraphicControl::AccessibleState() | STATE_SYSTEM_READONLY;
}

void TGradientProgressBar::SetStep(std::int32_t value)
{
    step_ = value;
    PaintNow();
}

void TGradientProgressBar::SetOrientation(TProgressBarOrientation value)
{
    orientation_ = value;
    Invalidate();
}

TGradientProgressBar::TBarColors TGradientProgressBar::HighContrastColors()
{
    // A window-coloured trough framed in window text and filled with the
    // highlight. Resolved first: the bands take a colour's bytes as they stand.
    auto rgb = [](TColor c) { return static_cast<TColor>(ColorToRGB(c)); };
    return {rgb(clWindowText), rgb(clWindow), rgb(clWindow), rgb(clHighlight), rgb(clHighlight)};
}

TGradientProgressBar::TBarColors TGradientProgressBar::DarkColors(const TBarColors& light)
{
    constexpr int kTrough = 208, kFill = 64;  // of 256, toward black
    auto down = [](TColor c, int amount) { return MixColor(static_cast<TColor>(ColorToRGB(c)), clBlack, amount); };
    return {light.Border, down(light.BackFace, kTrough), down(light.BackGrad, kTrough), down(light.ForeFace, kFill),
            light.ForeGrad};
}

void TGradientProgressBar::PaintNow()
{
    if (Parent() == nullptr) return;
    Repaint();
}

int TGradientProgressBar::ShownExtent() const
{
    const int w = Width(), h = Height();
    if (orientation_ == pbHorizontal) return std::clamp(HorizontalFill(w, position_, min_, max_), 0, std::max(w - 1, 0));
    return std::clamp(VerticalTop(h, position_, min_, max_), 0, std::max(h - 1, 0));
}

void TGradientProgressBar::Paint()
{
    shownExtent_.reset();
    if (!Visible()) return;
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    const TBarColors designed{colorBorder_, backColorFace_, backColorGrad_, foreColorFace_, foreColorGrad_};
    const TBarColors colours = HighContrast() ? HighContrastColors() : DarkTheme() ? DarkColors(designed) : designed;
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    if (orientation_ == pbHorizontal)
        DrawHorizontal(bitmap, w, h, colours);
    else
        DrawVertical(bitmap, w, h, colours);

    TCanvas& c = bitmap.Canvas();
    c.Pen().SetColor(colours.Border);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Rectangle(0, 0, w, h);
    // A bar across fills from the side the reading starts from.
    if (orientation_ == pbHorizontal && RightToLeft()) bitmap.MirrorHorizontally();
    Canvas().Draw(0, 0, bitmap);
    shownExtent_ = ShownExtent();
}

void TGradientProgressBar::DrawHorizontal(TBitmap& bitmap, int w, int h, const TBarColors& colours)
{
    TCanvas& c = bitmap.Canvas();
    const int fill = ClampCoordinate(HorizontalFill(w, position_, min_, max_), w);
    DrawGradient(bitmap, TBand::Rows, h - 2, 1, w, colours.BackFace, colours.BackGrad);
    if (fill > 0) DrawGradient(bitmap, TBand::Rows, h, 0, fill, colours.ForeFace, colours.ForeGrad);
    if (auto highlight = PixelAt(bitmap, 1, 1)) Line(c, *highlight, 1, 1, 1, h);
    if (auto edge = PixelAt(bitmap, 2, h - 2)) Line(c, *edge, fill, 1, fill, h);
}

void TGradientProgressBar::DrawVertical(TBitmap& bitmap, int w, int h, const TBarColors& colours)
{
    TCanvas& c = bitmap.Canvas();
    const int top = ClampCoordinate(VerticalTop(h, position_, min_, max_), h);
    DrawGradient(bitmap, TBand::Columns, w - 2, 1, h, colours.BackFace, colours.BackGrad);
    DrawGradient(bitmap, TBand::Columns, w, top, h, colours.ForeFace, colours.ForeGrad);
    if (auto bottom = PixelAt(bitmap, 2, h - 2)) Line(c, *bottom, 1, h - 2, w, h - 2);
    if (auto edge = PixelAt(bitmap, w - 3, h - 3)) Line(c, *edge, 1, top, w, top);
}
