#include "engine/alarmrule.h"

#include <algorithm>

TAlarmDecision TAlarmRule::Tick(std::uint64_t nowMs, std::uint64_t freeBytes, std::uint64_t alarmBytes, bool armed)
{
    if (freeBytes >= alarmBytes) {
        if (!aboveSince_) aboveSince_ = nowMs;
        // Subtracted, never added, so a clock near its end cannot wrap past it.
        const std::uint64_t held = nowMs - *aboveSince_;
        if (held >= GainHoldMs) judging_ = false;
        if (held >= LastingRecoveryMs) {
            // The fall is over: whatever the runs gained, the next one is new.
            wait_ = std::min(wait_, FirstCoolDownMs);
            coolDown_ = FirstCoolDownMs;
            reportedThisFall_ = false;
            failureToldThisFall_ = false;
        }
        return {};
    }
    aboveSince_.reset();
    // Below again before the last run's gain held, or it never reached the level.
    if (judging_) GainedLittle();
    if (!armed) return {};
    if (ranBefore_ && nowMs - lastRunEnd_ < wait_) return {};
    TAlarmDecision decision;
    decision.Run = true;
    decision.Report = !reportedThisFall_;
    reportedThisFall_ = true;
    return decision;
}

void TAlarmRule::AlarmRunEnded(std::uint64_t nowMs, std::uint64_t askedBytes, std::uint64_t freedBytes)
{
    ranBefore_ = true;
    lastRunEnd_ = nowMs;
    wait_ = coolDown_;
    // Free memory that was high before the run does not count towards a
    // recovery after it.
    aboveSince_.reset();
    judging_ = true;
    // Multiplied rather than divided, so that an amount below the divisor
    // still counts; no machine holds enough to overflow it.
    if (freedBytes * LittleGainDivisor < askedBytes) GainedLittle();
}

bool TAlarmRule::AlarmRunFailed(std::uint64_t nowMs, std::uint64_t askedBytes)
{
    AlarmRunEnded(nowMs, askedBytes, 0);
    const bool tell = !failureToldThisFall_;
    failureToldThisFall_ = true;
    return tell;
}

void TAlarmRule::GainedLittle() noexcept
{
    judging_ = false;
    coolDown_ = std::min(coolDown_ * 2, LongestCoolDownMs);
}
