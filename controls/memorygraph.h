// TMemoryGraph: the four parts of memory over a span of time, as stacked
// areas with the newest sample at the end of the reading direction, and a
// mark in its trigger's colour for each run. A keyboard cursor walks the
// samples (Left and Right one, Page Up and Page Down a tenth of the span,
// Home and End to either end); a reader hears the time and the four parts
// there, and a run's tip where the cursor is at its mark. The pointer over
// a mark shows the tip in the form's tooltip.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/memoryfigures.h"
#include "toolkit/customcontrol.h"

class TMemoryGraph : public TCustomControl {
public:
    explicit TMemoryGraph(TComponent* owner);

    // The samples of the span, oldest first, ending at now; the span in
    // seconds; whether the parts are divided (else in use and available).
    // The cursor stays on the newest sample while it was there, else on the
    // same time. Repaints.
    void SetPoints(std::vector<TMemoryPoint> points, std::int64_t now, std::int64_t span, bool divided);
    void SetMarks(std::vector<TRunMark> marks);
    const std::vector<TMemoryPoint>& Points() const noexcept { return points_; }
    const std::vector<TRunMark>& Marks() const noexcept { return marks_; }

    // The sample under the cursor (an index into Points), none when empty.
    std::optional<std::size_t> Cursor() const noexcept { return cursor_; }
    void SetCursor(std::size_t index);
    // What the cursor shows: "10:15: in use …", then a run's tip when one
    // started there.
    std::wstring CursorText() const;
    // The run marked within the pixel column at x (client coordinates), if any.
    const TRunMark* MarkAt(int x) const;

    std::function<std::wstring(std::uint64_t bytes)> SizeText;
    std::function<std::wstring(std::int64_t time)> TimeText;
    // The cursor moved (by the keyboard or a click).
    TNotifyEvent OnCursorMove;

    long AccessibleRole() const override;
    std::wstring AccessibleValue() const override;
    unsigned long AccessibleState() const override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void GotFocus() override { Invalidate(); }
    void LostFocus() override { Invalidate(); }

private:
    // The pixel column of a time, reading from the left (mirrored at paint).
    int ColumnOf(std::int64_t time) const;
    // The sample shown at a column: the last at or before its time.
    std::optional<std::size_t> PointAtColumn(int x) const;

    std::vector<TMemoryPoint> points_;
    std::vector<TRunMark> marks_;
    std::int64_t now_ = 0;
    std::int64_t span_ = 600;
    bool divided_ = true;
    std::optional<std::size_t> cursor_;
    const TRunMark* hintMark_ = nullptr;  // the mark whose tip the tooltip shows; into marks_
};
