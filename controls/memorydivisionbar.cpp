#include "controls/memorydivisionbar.h"

#include <oleacc.h>

#include <algorithm>

#include "toolkit/accessibility.h"
#include "toolkit/bitmap.h"
#include "toolkit/theme.h"
#include "toolkit/texts.h"

namespace {

constexpr int kBarHeight = 18;  // design units
constexpr int kSwatch = 10;
constexpr int kGap = 6;

TMemoryPart PartOf(int part)
{
    return static_cast<TMemoryPart>(part);
}

// The parts a bar shows: all four, or in use and available.
bool Shown(int part, bool divided)
{
    return divided || part == 0 || part == 3;
}

}  // namespace

std::wstring MemoryPartName(int part, bool divided)
{
    static constexpr TText kNames[kMemoryPartCount] = {TText::DetailsInUse, TText::DetailsModified,
                                                       TText::DetailsStandby, TText::DetailsFree};
    if (!divided && part == 3) return Text(TText::DetailsAvailable);
    return Text(kNames[std::clamp(part, 0, kMemoryPartCount - 1)]);
}

std::wstring MemoryPartsText(const TMemoryParts& parts, bool divided,
                             const std::function<std::wstring(std::uint64_t)>& sizeText)
{
    std::wstring text;
    for (int part = 0; part < kMemoryPartCount; ++part) {
        if (!Shown(part, divided)) continue;
        if (!text.empty()) text += L", ";
        text += MemoryPartName(part, divided) + L" " + (sizeText ? sizeText(parts[static_cast<std::size_t>(part)]) : L"");
    }
    return text;
}

void FillMemoryPart(TBitmap& bitmap, const RECT& area, int part)
{
    const auto colour = static_cast<TColor>(MemoryPartColor(PartOf(part)));
    if (!MemoryPartHatched(PartOf(part))) {
        bitmap.Fill(area, colour);
        return;
    }
    // Stripes on the window's colour: under high contrast two parts share
    // the highlight, and the stripes tell them apart without a hue.
    bitmap.Fill(area, static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left + ((4 - (y % 4)) % 4); x < area.right; x += 4) bitmap.Fill({x, y, x + 2, y + 1}, colour);
}

TMemoryDivisionBar::TMemoryDivisionBar(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 300, 44);
    SetTabStop(true);
}

void TMemoryDivisionBar::SetParts(const TMemoryParts& parts, bool divided)
{
    if (parts == parts_ && divided == divided_) return;
    const std::wstring before = AccessibleValue();
    parts_ = parts;
    divided_ = divided;
    Invalidate();
    if (AccessibleValue() != before) NotifyAccessibleEvent(this, EVENT_OBJECT_VALUECHANGE);
}

long TMemoryDivisionBar::AccessibleRole() const
{
    return ROLE_SYSTEM_CHART;
}

std::wstring TMemoryDivisionBar::AccessibleValue() const
{
    return MemoryPartsText(parts_, divided_, SizeText);
}

unsigned long TMemoryDivisionBar::AccessibleState() const
{
    return TCustomControl::AccessibleState() | STATE_SYSTEM_READONLY;
}

void TMemoryDivisionBar::Paint()
{
    TCanvas& canvas = Canvas();
    const RECT client = ClientRect();
    canvas.Brush().SetColor(ShownColor());
    canvas.FillRect(client);
    const int w = client.right, barHeight = std::min(ScaleDesign(kBarHeight), static_cast<int>(client.bottom));
    if (w <= 2 || barHeight <= 2) return;

    std::uint64_t total = 0;
    for (int part = 0; part < kMemoryPartCount; ++part)
        if (Shown(part, divided_)) total += parts_[static_cast<std::size_t>(part)];
    TBitmap bar;
    bar.SetSize(w, barHeight);
    bar.Fill({0, 0, w, barHeight}, static_cast<TColor>(ColorToRGB(clWindowText)));
    // Each part ends where the running sum ends, so rounding never leaves a gap.
    std::uint64_t sum = 0;
    int left = 1;
    for (int part = 0; part < kMemoryPartCount && total > 0; ++part) {
        if (!Shown(part, divided_)) continue;
        sum += parts_[static_cast<std::size_t>(part)];
        const int right = 1 + static_cast<int>(static_cast<double>(sum) / static_cast<double>(total) * (w - 2));
        FillMemoryPart(bar, {left, 1, right, barHeight - 1}, part);
        left = right;
    }
    // The bar fills from where reading starts.
    if (RightToLeft()) bar.MirrorHorizontally();
    canvas.Draw(0, 0, bar);

    // The legend: a swatch and "In use 3.20 GB" for each part, on as many
    // lines as the width needs.
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(ShownFontColor());
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const int swatch = ScaleDesign(kSwatch), gap = ScaleDesign(kGap);
    const int lineHeight = std::max(canvas.TextHeight(L"Ag"), swatch);
    int x = 0, y = barHeight + ScaleDesign(4);
    for (int part = 0; part < kMemoryPartCount; ++part) {
        if (!Shown(part, divided_)) continue;
        const std::wstring text =
            MemoryPartName(part, divided_) + L" " + (SizeText ? SizeText(parts_[static_cast<std::size_t>(part)]) : L"");
        const int itemWidth = swatch + gap / 2 + canvas.TextWidth(text);
        if (x > 0 && x + itemWidth > w) {
            x = 0;
            y += lineHeight + 2;
        }
        TBitmap mark;
        mark.SetSize(swatch, swatch);
        mark.Fill({0, 0, swatch, swatch}, static_cast<TColor>(ColorToRGB(clWindowText)));
        FillMemoryPart(mark, {1, 1, swatch - 1, swatch - 1}, part);
        canvas.Draw(x, y + (lineHeight - swatch) / 2, mark);
        RECT r{x + swatch + gap / 2, y, x + itemWidth + 1, y + lineHeight};
        canvas.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        x += itemWidth + gap * 2;
    }
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (Focused()) canvas.DrawFocusRect(client);
}
