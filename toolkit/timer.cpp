#include "toolkit/timer.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer()
{
    MarkDestroying();
    timer_.Reset();
}

void TTimer::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::Loaded()
{
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    timer_.Reset();
    if (!enabled_ || interval_ == 0 || IsLoading() || IsDestroying()) return;
    if (!window_) {
        window_ = AllocateMessageWindow([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            // A tick of an earlier period may still be queued after a restart.
            if (message == WM_TIMER) {
                if (timer_ && wParam == timerId_) Fire(OnTimer, this);
                return 0;
            }
            return DefWindowProcW(w, message, wParam, lParam);
        });
    }
    // A new id per period, so that a stale tick can be told apart.
    timerId_ = timerId_ % 0x7FFF + 1;
    timer_ = TWindowTimer(window_->Handle(), timerId_, interval_);
}
