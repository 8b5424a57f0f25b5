#include "toolkit/label.h"

#include <oleacc.h>

#include "toolkit/accessibility.h"
#include "toolkit/wincontrol.h"

using enum TAlign;
using enum TAlignment;

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption);
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool value)
{
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value)
{
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetTransparent(bool value)
{
    if (value == transparent_) return;
    transparent_ = value;
    SetControlStyle(value ? (ControlStyle() & ~csOpaque) : (ControlStyle() | csOpaque));
    Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
    if (value == wordWrap_) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged()
{
    AdjustBounds();
    Invalidate();
    // A reader hears a new figure or a run's report as it appears.
    NotifyAccessibleEvent(this, EVENT_OBJECT_NAMECHANGE);
}

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

UINT TLabel::DrawFlags() const
{
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    switch (alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    }
    return flags;
}

void TLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading() || Align() == alBottom || Align() == alTop || Align() == alClient) return;
    // Measured on a screen DC: the size must not depend on a window existing.
    TWindowDC dc(nullptr);
    TSelectObject select(dc.Get(), Font().Handle());
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    const std::wstring text = Caption().empty() ? std::wstring(L" ") : Caption();
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    int left = Left();
    if (alignment_ == taRightJustify) left = Left() + Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        canvas.Brush().SetColor(ShownColor());
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (Enabled()) {
        canvas.DrawText(Caption(), r, DrawFlags());
    } else {
        canvas.DrawDisabledText(Caption(), r, DrawFlags());
    }
}

int TLabel::TextWidthNeeded() const
{
    return TextWidth(Caption());
}
