// When a run on the user's interval ("Optimize every N minutes") is due.
// Platform-free: the window feeds it the time (a monotonic clock in
// milliseconds) on each of the interval's ticks and tells it when any run
// ends.
//
// Switching the interval on counts from that moment. After that it counts
// from the end of the last run of any kind: a run the user started, or the
// alarm's, makes the next interval run wait its full interval, so the
// interval never doubles up with them. A run that is due while a run cannot
// start (the settings are open, a run is in progress, a box of ours waits)
// starts at the first tick that can start it, once.
#pragma once

#include <cstdint>
#include <optional>

class TIntervalRule {
public:
    // 0 switches the interval off. Switching it on starts the count now,
    // whatever ran before; a change of length keeps the count's start.
    void SetInterval(std::uint32_t minutes, std::uint64_t nowMs) noexcept;
    std::uint32_t IntervalMinutes() const noexcept { return minutes_; }

    // One tick: true when a run on the interval is to start now. armed:
    // nothing keeps a run from starting.
    bool Tick(std::uint64_t nowMs, bool armed) noexcept;
    // A run of any kind ended at nowMs, whether it freed anything or failed.
    void RunEnded(std::uint64_t nowMs) noexcept;

    // How long until the next interval run is due; nothing while off. Zero
    // when it is due and waits to be armed.
    std::optional<std::uint64_t> MsUntilNext(std::uint64_t nowMs) const noexcept;

private:
    std::uint32_t minutes_ = 0;
    std::uint64_t countFrom_ = 0;
};
