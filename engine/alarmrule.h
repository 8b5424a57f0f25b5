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
// recovered for good. A run's own gain is not a recovery: right after it
// free memory is up because the run has just pushed other programs out, and
// a busy machine takes that back within minutes. Only the first alarm run of
// each fall below the level is reported; runs the user asks for are never
// held back and never counted.
#pragma once

#include <cstdint>
#include <optional>

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
    // A run gained little, too, when free memory does not stay at or above
    // the level this long after it: a workload that takes its pages back does
    // so within a minute or two of touching them again, so three minutes
    // tells that apart from a gain the machine keeps.
    static constexpr std::uint64_t GainHoldMs = 3 * 60'000;
    // Only this long at or above the level with no alarm run in between ends
    // a fall: the cool-down is short again and the next fall is reported.
    // Longer than any gain needs to hold, so a run's own gain that merely
    // holds never passes for the end of a fall; short beside weeks in the
    // tray, so a new fall after a quiet spell is still told.
    static constexpr std::uint64_t LastingRecoveryMs = 10 * 60'000;
    // A new fall after a lasting recovery runs at once.
    static_assert(LastingRecoveryMs >= FirstCoolDownMs && LastingRecoveryMs > GainHoldMs);

    // One tick. armed: automatic optimisation is on and nothing keeps a run
    // from starting (the settings are closed, no run is in progress, no box
    // is waiting for the user).
    TAlarmDecision Tick(std::uint64_t nowMs, std::uint64_t freeBytes, std::uint64_t alarmBytes, bool armed);

    // The alarm run that Tick started has ended at nowMs, having freed
    // freedBytes of the askedBytes it was set to free.
    void AlarmRunEnded(std::uint64_t nowMs, std::uint64_t askedBytes, std::uint64_t freedBytes);
    // The alarm run that Tick started has failed at nowMs; it counts as one
    // that freed nothing. True when the failure is to be told: the first of
    // each fall, whether or not that fall's first run was reported.
    bool AlarmRunFailed(std::uint64_t nowMs, std::uint64_t askedBytes);

    // The wait after the last alarm run, and the one the next run will bring.
    std::uint64_t WaitMs() const noexcept { return wait_; }
    std::uint64_t CoolDownMs() const noexcept { return coolDown_; }

private:
    void GainedLittle() noexcept;

    bool ranBefore_ = false;
    std::uint64_t lastRunEnd_ = 0;
    std::uint64_t wait_ = FirstCoolDownMs;
    std::uint64_t coolDown_ = FirstCoolDownMs;
    // The last run's gain is still to be judged: it has not yet held.
    bool judging_ = false;
    // The first tick of the present stretch at or above the level since the
    // last run; none while below.
    std::optional<std::uint64_t> aboveSince_;
    bool reportedThisFall_ = false;
    bool failureToldThisFall_ = false;
};
