#include "engine/standbyrule.h"

#include <algorithm>

bool TStandbyRule::Tick(std::uint64_t nowMs, std::uint64_t standbyBytes, std::uint64_t freeBytes,
                        std::uint64_t atLeastBytes, std::uint64_t freeBelowBytes, bool armed)
{
    if (standbyBytes < atLeastBytes || freeBytes >= freeBelowBytes) {
        if (!calm_) {
            calm_ = true;
            calmSince_ = nowMs;
        }
        // Subtracted, never added, so a clock near its end cannot wrap past it.
        const std::uint64_t held = nowMs - calmSince_;
        if (held >= GainHoldMs) judging_ = false;
        if (held >= LastingRecoveryMs) {
            wait_ = std::min(wait_, FirstCoolDownMs);
            coolDown_ = FirstCoolDownMs;
            failureTold_ = false;
        }
        return false;
    }
    calm_ = false;
    // Both met again before the last purge's gain held: the cache refilled.
    if (judging_) GainedLittle();
    if (!armed) return false;
    return !purgedBefore_ || nowMs - lastPurgeEnd_ >= wait_;
}

void TStandbyRule::PurgeEnded(std::uint64_t nowMs, std::uint64_t freedBytes, std::uint64_t atLeastBytes)
{
    Ended(nowMs, freedBytes, atLeastBytes);
    failureTold_ = false;
}

void TStandbyRule::Ended(std::uint64_t nowMs, std::uint64_t freedBytes, std::uint64_t atLeastBytes)
{
    purgedBefore_ = true;
    lastPurgeEnd_ = nowMs;
    wait_ = coolDown_;
    // A calm stretch before the purge does not count towards one after it.
    calm_ = false;
    judging_ = true;
    // Multiplied rather than divided, so that a set amount below the divisor
    // still counts.
    if (freedBytes * LittleGainDivisor < atLeastBytes) GainedLittle();
}

bool TStandbyRule::PurgeFailed(std::uint64_t nowMs, std::uint64_t atLeastBytes)
{
    Ended(nowMs, 0, atLeastBytes);
    const bool tell = !failureTold_;
    failureTold_ = true;
    return tell;
}

void TStandbyRule::GainedLittle() noexcept
{
    judging_ = false;
    coolDown_ = std::min(coolDown_ * 2, LongestCoolDownMs);
}
