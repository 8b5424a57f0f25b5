#include "engine/alarmrule.h"

#include <algorithm>

TAlarmDecision TAlarmRule::Tick(std::uint64_t nowMs, std::uint64_t freeBytes, std::uint64_t alarmBytes, bool armed)
{
    if (freeBytes >= alarmBytes) {
        // Recovered: whatever the last run gained, the next fall is new.
        wait_ = std::min(wait_, FirstCoolDownMs);
        coolDown_ = FirstCoolDownMs;
        reportedThisFall_ = false;
        return {};
    }
    if (!armed) return {};
    // Subtracted, never added, so a clock near its end cannot wrap past it.
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
    // Multiplied rather than divided, so that an amount below the divisor
    // still counts; no machine holds enough to overflow it.
    if (freedBytes * LittleGainDivisor < askedBytes)
        coolDown_ = std::min(coolDown_ * 2, LongestCoolDownMs);
}
