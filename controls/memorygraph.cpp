#include "controls/memorygraph.h"

#include <oleacc.h>

#include <algorithm>

#include "controls/memorydivisionbar.h"
#include "toolkit/accessibility.h"
#include "toolkit/bitmap.h"
#include "toolkit/forms.h"
#include "toolkit/texts.h"
#include "toolkit/theme.h"

namespace {

constexpr int kMarkReach = 3;  // design units either side of a mark that show its tip

std::uint64_t Total(const TMemoryParts& parts)
{
    std::uint64_t total = 0;
    for (std::uint64_t part : parts) total += part;
    return total;
}

}  // namespace

TMemoryGraph::TMemoryGraph(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 300, 160);
    SetTabStop(true);
    SetShowHint(true);
}

void TMemoryGraph::SetPoints(std::vector<TMemoryPoint> points, std::int64_t now, std::int64_t span, bool divided)
{
    const bool atNewest = !cursor_ || *cursor_ + 1 >= points_.size();
    const std::int64_t cursorTime = cursor_ && *cursor_ < points_.size() ? points_[*cursor_].Time : 0;
    points_ = std::move(points);
    now_ = now;
    span_ = std::max<std::int64_t>(span, 1);
    divided_ = divided;
    if (points_.empty()) {
        cursor_.reset();
    } else if (atNewest) {
        cursor_ = points_.size() - 1;
    } else {
        const auto later = std::upper_bound(points_.begin(), points_.end(), cursorTime,
                                            [](std::int64_t t, const TMemoryPoint& p) { return t < p.Time; });
        cursor_ = static_cast<std::size_t>(std::max<std::ptrdiff_t>(later - points_.begin() - 1, 0));
    }
    Invalidate();
}

void TMemoryGraph::SetMarks(std::vector<TRunMark> marks)
{
    hintMark_ = nullptr;
    marks_ = std::move(marks);
    Invalidate();
}

void TMemoryGraph::SetCursor(std::size_t index)
{
    if (points_.empty()) return;
    index = std::min(index, points_.size() - 1);
    if (cursor_ == index) return;
    cursor_ = index;
    Invalidate();
    NotifyAccessibleEvent(this, EVENT_OBJECT_VALUECHANGE);
    Fire(OnCursorMove, this);
}

std::wstring TMemoryGraph::CursorText() const
{
    if (!cursor_ || *cursor_ >= points_.size()) return {};
    const TMemoryPoint& point = points_[*cursor_];
    std::wstring text = (TimeText ? TimeText(point.Time) : std::wstring()) + L": " +
                        MemoryPartsText(point.Parts, divided_, SizeText);
    // A run started since the sample before: the cursor is at its mark.
    const std::int64_t from = *cursor_ > 0 ? points_[*cursor_ - 1].Time : point.Time - 1;
    for (const TRunMark& mark : marks_)
        if (mark.Time > from && mark.Time <= point.Time) text += L" " + mark.Tip;
    return text;
}

int TMemoryGraph::ColumnOf(std::int64_t time) const
{
    const int w = ClientWidth();
    return w - 1 - static_cast<int>((now_ - time) * (w - 1) / span_);
}

std::optional<std::size_t> TMemoryGraph::PointAtColumn(int x) const
{
    const int w = ClientWidth();
    if (points_.empty() || w <= 1) return std::nullopt;
    const std::int64_t time = now_ - static_cast<std::int64_t>(w - 1 - x) * span_ / (w - 1);
    const auto later = std::upper_bound(points_.begin(), points_.end(), time,
                                        [](std::int64_t t, const TMemoryPoint& p) { return t < p.Time; });
    if (later == points_.begin()) return std::nullopt;
    return static_cast<std::size_t>(later - points_.begin() - 1);
}


const TRunMark* TMemoryGraph::MarkAt(int x) const
{
    const int reach = ScaleDesign(kMarkReach);
    const TRunMark* nearest = nullptr;
    int best = reach + 1;
    for (const TRunMark& mark : marks_) {
        const int distance = std::abs(ColumnOf(mark.Time) - x);
        if (distance < best) {
            best = distance;
            nearest = &mark;
        }
    }
    return nearest;
}

long TMemoryGraph::AccessibleRole() const
{
    return ROLE_SYSTEM_CHART;
}

std::wstring TMemoryGraph::AccessibleValue() const
{
    return CursorText();
}

unsigned long TMemoryGraph::AccessibleState() const
{
    return TCustomControl::AccessibleState() | STATE_SYSTEM_READONLY;
}

void TMemoryGraph::WndProc(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    TCustomControl::WndProc(m);
}

void TMemoryGraph::KeyDown(WORD& key, TShiftState shift)
{
    if (!cursor_) return TCustomControl::KeyDown(key, shift);
    const auto count = static_cast<std::ptrdiff_t>(points_.size());
    const std::ptrdiff_t page = std::max<std::ptrdiff_t>(count / 10, 1);
    // Left goes back in time where time runs to the right.
    const std::ptrdiff_t back = RightToLeft() ? 1 : -1;
    std::ptrdiff_t to = static_cast<std::ptrdiff_t>(*cursor_);
    switch (key) {
    case VK_LEFT: to += back; break;
    case VK_RIGHT: to -= back; break;
    case VK_PRIOR: to -= page; break;
    case VK_NEXT: to += page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    default: return TCustomControl::KeyDown(key, shift);
    }
    SetCursor(static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(to, 0, count - 1)));
    key = 0;
}

void TMemoryGraph::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    std::weak_ptr<int> alive = lifeToken_;
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired()) return;
    if (CanFocus() && !Focused()) SetFocus();
    if (alive.expired()) return;
    if (const auto point = PointAtColumn(x)) SetCursor(*point);
}

void TMemoryGraph::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    const TRunMark* mark = MarkAt(x);
    if (mark == hintMark_) return;
    hintMark_ = mark;
    // The form's tooltip shows the hint of the control under the pointer:
    // pointed at again, it takes the mark's tip.
    SetHint(mark ? mark->Tip : std::wstring());
    if (TForm* form = GetParentForm()) {
        form->UpdateHint(nullptr);
        form->UpdateHint(this);
    }
}

void TMemoryGraph::Paint()
{
    TCanvas& canvas = Canvas();
    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 2 || h <= 2) return;
    TBitmap picture;
    picture.SetSize(w, h);
    const auto frame = static_cast<TColor>(ColorToRGB(clWindowText));
    picture.Fill({0, 0, w, h}, frame);
    picture.Fill({1, 1, w - 1, h - 1}, static_cast<TColor>(ColorToRGB(clWindow)));
    // A column at a time: the sample shown there, its parts stacked from the
    // bottom in the bar's order, each ending where the running sum ends.
    const int inner = h - 2;
    for (int x = 1; x < w - 1; ++x) {
        const auto index = PointAtColumn(x);
        if (!index) continue;
        const TMemoryParts& parts = points_[*index].Parts;
        const std::uint64_t total = Total(parts);
        if (total == 0) continue;
        std::uint64_t sum = 0;
        int bottom = h - 1;
        for (int part = 0; part < kMemoryPartCount; ++part) {
            sum += parts[static_cast<std::size_t>(part)];
            const int top = h - 1 - static_cast<int>(static_cast<double>(sum) / static_cast<double>(total) * inner);
            if (top < bottom) FillMemoryPart(picture, {x, top, x + 1, bottom}, part);
            bottom = top;
        }
    }
    const int markWidth = std::max(ScaleDesign(2), 1);
    for (const TRunMark& mark : marks_) {
        const int x = ColumnOf(mark.Time);
        if (x < 1 || x >= w - 1) continue;
        picture.Fill({x, 1, x + markWidth, h - 1}, static_cast<TColor>(RunMarkColor(mark.Trigger)));
    }
    if (cursor_ && Focused()) {
        const int x = ColumnOf(points_[*cursor_].Time);
        for (int y = 1; y < h - 1; y += 2) picture.Fill({x, y, x + 1, y + 1}, frame);
    }
    // Time runs the way the language reads.
    if (RightToLeft()) picture.MirrorHorizontally();
    canvas.Draw(0, 0, picture);
    if (Focused()) {
        RECT focus{1, 1, w - 1, h - 1};
        canvas.DrawFocusRect(focus);
    }
}
