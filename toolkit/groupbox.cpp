#include "toolkit/groupbox.h"

#include "toolkit/themedraw.h"

using enum TBrushStyle;

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::AdjustClientRect(RECT& rect)
{
    TCustomControl::AdjustClientRect(rect);
    TWindowDC dc(nullptr);
    TSelectObject select(dc.Get(), Font().Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), L"0", 1, &size);
    // Below the caption and inside the etched frame's two design pixels.
    rect.top += size.cy;
    const int margin = ScaleDesign(2);
    InflateRect(&rect, -margin, -margin);
}

void TGroupBox::TextChanged()
{
    TCustomControl::TextChanged();
    Invalidate();
}

void TGroupBox::Paint()
{
    TCanvas& canvas = Canvas();
    const RECT client{0, 0, Width(), Height()};
    canvas.Brush().SetColor(ShownColor());
    canvas.FillRect(client);
    const int textHeight = canvas.TextHeight(L"0");
    RECT frame{0, textHeight / 2, Width(), Height()};
    DrawThemedEdge(canvas.Handle(), frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    RECT text{0, 0, 0, 0};
    canvas.DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
    OffsetRect(&text, 8, 0);
    // The caption interrupts the frame: its background is the box's colour.
    canvas.Brush().SetColor(ShownColor());
    RECT back = text;
    InflateRect(&back, 1, 0);
    canvas.FillRect(back);
    canvas.Brush().SetStyle(bsClear);
    if (!Enabled()) canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(Caption(), text, DT_SINGLELINE);
}

int TGroupBox::TextWidthNeeded() const
{
    // The caption sits 8 pixels in, as Paint draws it, and the frame goes
    // on for as much after it.
    constexpr int kCaptionInset = 8;
    return Caption().empty() ? 0 : kCaptionInset + TextWidth(Caption()) + kCaptionInset;
}
