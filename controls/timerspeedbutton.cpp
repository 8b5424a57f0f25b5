#include "controls/timerspeedbutton.h"

namespace {
constexpr unsigned kInitialRepeatDelay = 400;  // ms from the press to the first repeat
constexpr unsigned kRepeatInterval = 100;      // ms between repeats after that
}  // namespace

TTimerSpeedButton::TTimerSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

TTimerSpeedButton::~TTimerSpeedButton()
{
    if (repeatTimer_ != nullptr) {
        repeatTimer_->OnTimer = nullptr;
        repeatTimer_->SetEnabled(false);
    }
}

void TTimerSpeedButton::SetTimerButtonFlags(TTimerButtonFlags value)
{
    if (value == flags_) return;
    flags_ = value;
    Invalidate();
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseDown(button, shift, x, y);
    if (!(flags_ & AllowRepeat)) return;
    if (repeatTimer_ == nullptr) {
        repeatTimer_ = CreateComponent<TTimer>(this);
        repeatTimer_->SetEnabled(false);
    }
    repeatTimer_->OnTimer = Bind(this, &TTimerSpeedButton::TimerExpired);
    repeatTimer_->SetInterval(kInitialRepeatDelay);
    repeatTimer_->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseUp(button, shift, x, y);  // clicks on a release inside
    if (repeatTimer_ != nullptr) repeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::TimerExpired(TObject*)
{
    repeatTimer_->SetInterval(kRepeatInterval);
    // Dragged off the button, it is no longer pressed and the ticks click nothing.
    if (State() != TButtonState::bsDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        repeatTimer_->SetEnabled(false);  // a failing step must not repeat every 100 ms
        throw;
    }
}

void TTimerSpeedButton::Paint()
{
    TSpeedButton::Paint();
    if (!(flags_ & ShowFocusFrame)) return;
    RECT r{3, 3, Width() - 3, Height() - 3};
    if (State() == TButtonState::bsDown) OffsetRect(&r, 1, 1);
    Canvas().DrawFocusRect(r);
}
