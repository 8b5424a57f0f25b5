// When free memory below the alarm level starts a run by itself, and when
// such a run is worth telling the user about. Platform-free: the window feeds
// it the time (a monotonic clock in milliseconds), the free memory and the
// level on every tick, and each alarm run's result.
//
// An alarm that cannot be reached (set above what the machine can free, or
// other programs really need the memory) must not start a run on every tick:
// each run pushes every other program's memory out to the page file. So after
// an alarm run the next one waits a cool-down, which doubles, up to a limit,
// while runs gain little, and which is short again once free memory has
// recovered. Only the first alarm run of each fall below the level is
// reported; runs the user asks for are never held back and never counted.
#pragma once

#include <cstdint>

struct TAlarmDecision {
    bool Run = false;     // start an alarm run now
    bool Report = false;  // tell the user what it freed (else only the tip changes)
};

class TAlarmRule {
public:
    static constexpr std::uint64_t FirstCoolDownMs = 60'000;
    static constexpr std::uint64_t LongestCoolDownMs = 30 * 60'000;
    // A run that frees less than this share of what it was set to free
    // gained little: the cool-down doubles.
    static constexpr std::uint64_t LittleGainDivisor = 10;

    // One tick. armed: automatic optimisation is on and nothing keeps a run
    // from starting (the settings are closed, no run is in progress). A tick
    // that finds free memory at or above the level ends the fall: the
    // cool-down is short again and the next alarm run is reported.
    TAlarmDecision Tick(std::uint64_t nowMs, std::uint64_t freeBytes, std::uint64_t alarmBytes, bool armed);

    // The alarm run that Tick started has ended at nowMs, having freed
    // freedBytes of the askedBytes it was set to free (0 when it failed).
    void AlarmRunEnded(std::uint64_t nowMs, std::uint64_t askedBytes, std::uint64_t freedBytes);

    // The wait after the last alarm run, and the one the next run will bring.
    std::uint64_t WaitMs() const noexcept { return wait_; }
    std::uint64_t CoolDownMs() const noexcept { return coolDown_; }

private:
    bool ranBefore_ = false;
    std::uint64_t lastRunEnd_ = 0;
    std::uint64_t wait_ = FirstCoolDownMs;
    std::uint64_t coolDown_ = FirstCoolDownMs;
    bool reportedThisFall_ = false;
};
