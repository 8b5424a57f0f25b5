// TTimerSpeedButton: a speed button that keeps clicking while it is held:
// 400 ms after the press, then every 100 ms while it stays pressed with the
// mouse captured, and once more on a release inside it. It can also draw a
// focus frame for a parent that takes the keyboard focus on its behalf.
#pragma once

#include <cstdint>

#include "toolkit/speedbutton.h"
#include "toolkit/timer.h"

using TTimerButtonFlags = std::uint8_t;
inline constexpr TTimerButtonFlags tbFocusRect = 1u << 0;    // draw a focus frame (ShowFocusFrame)
inline constexpr TTimerButtonFlags tbAllowTimer = 1u << 1;   // auto-repeat while held (AllowRepeat)

class TTimerSpeedButton : public TSpeedButton {
public:
    static constexpr TTimerButtonFlags ShowFocusFrame = tbFocusRect;
    static constexpr TTimerButtonFlags AllowRepeat = tbAllowTimer;

    explicit TTimerSpeedButton(TComponent* owner);
    ~TTimerSpeedButton() override;

    TTimerButtonFlags TimerButtonFlags() const noexcept { return flags_; }
    void SetTimerButtonFlags(TTimerButtonFlags value);

    // The repeat timer, once a press created it (owned by the button).
    TTimer* RepeatTimer() const noexcept { return repeatTimer_; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void TimerExpired(TObject* sender);

    TTimerButtonFlags flags_ = 0;
    TTimer* repeatTimer_ = nullptr;  // owned as a component of this button
};
