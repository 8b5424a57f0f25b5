// A window timer as a component. Ticks arrive as messages on the thread that
// created the timer. Every change of Interval or Enabled restarts the period;
// setting the value it already has changes nothing; an Interval of 0 ticks
// never. While its form is loading the timer waits until Loaded().
#pragma once

#include <memory>

#include "toolkit/component.h"
#include "toolkit/handles.h"
#include "toolkit/utilwindow.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const noexcept { return interval_; }  // milliseconds
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

    void Loaded() override;

private:
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::unique_ptr<TUtilityWindow> window_;
    TWindowTimer timer_;
    UINT_PTR timerId_ = 0;
};
