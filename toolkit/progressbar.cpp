#include "toolkit/progressbar.h"

#include <commctrl.h>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(csDoubleClicks);
    SetBounds(0, 0, 150, 16);
}

DWORD TProgressBar::BarStyle() const
{
    DWORD style = 0;
    if (orientation_ == TProgressBarOrientation::pbVertical) style |= PBS_VERTICAL;
    if (smooth_) style |= PBS_SMOOTH;
    return style;
}

void TProgressBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = PROGRESS_CLASSW;
    p.SystemClass = true;
    p.CommonControlClasses = ICC_PROGRESS_CLASS;
    p.Style |= BarStyle();
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::UpdateStyle()
{
    if (!HandleAllocated()) return;
    // The bar reads both styles when it paints.
    LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(PBS_VERTICAL | PBS_SMOOTH);
    style |= static_cast<LONG_PTR>(BarStyle());
    SetWindowLongPtrW(WindowHandle(), GWL_STYLE, style);
    InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value)
{
    if (value == orientation_) return;
    orientation_ = value;
    UpdateStyle();
}

void TProgressBar::SetSmooth(bool value)
{
    if (value == smooth_) return;
    smooth_ = value;
    UpdateStyle();
}

void TProgressBar::SetRange(int min, int max)
{
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
        SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        Update();  // the bar may only have invalidated itself: show the range now
    }
}

void TProgressBar::SetMin(int value)
{
    if (value == min_ || value > max_) return;
    SetRange(value, max_);
}

void TProgressBar::SetMax(int value)
{
    if (value == max_ || value < min_) return;
    SetRange(min_, value);
}

void TProgressBar::SetPosition(int value)
{
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        Update();  // progress shows before the setter returns
    }
}

void TProgressBar::StepBy(int delta)
{
    const long long span = static_cast<long long>(max_) - min_;
    long long next = static_cast<long long>(position_) + delta;
    if (next > max_) next = span == 0 ? min_ : (next - min_) % span + min_;
    SetPosition(static_cast<int>(std::clamp<long long>(next, min_, max_)));
}

void TProgressBar::StepIt()
{
    StepBy(step_);
}
