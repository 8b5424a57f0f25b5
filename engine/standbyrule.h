// When the standby rule purges the standby list by itself: the list holds at
// least a set amount while free memory (free and zeroed pages, not the
// available memory, which counts the standby list as free) is below another.
// A game that has filled the cache stutters then, because Windows must take
// cached pages back one by one. Platform-free: the window feeds it the time
// (a monotonic clock in milliseconds) and a reading of the division every
// second, and each purge's result.
//
// A purge waits at least FirstCoolDownMs after the last one. A program that
// fills the cache again at once must not get a purge every half minute all
// day, so the wait doubles, up to a limit, while purges gain little: they
// free little, or both conditions are met again before the gain has held.
// Once neither has been met for a while, the wait is short again.
#pragma once

#include <cstdint>

class TStandbyRule {
public:
    static constexpr std::uint64_t FirstCoolDownMs = 30'000;
    static constexpr std::uint64_t LongestCoolDownMs = 16 * 60'000;
    // A purge that frees less than this share of the list's set amount
    // gained little.
    static constexpr std::uint64_t LittleGainDivisor = 10;
    // Both conditions met again within this long of a purge: the cache
    // refilled at once and the purge gained little.
    static constexpr std::uint64_t GainHoldMs = 3 * 60'000;
    // This long with the conditions not both met, and no purge, ends a
    // spell: the wait is short again and the next failure is told.
    static constexpr std::uint64_t LastingRecoveryMs = 10 * 60'000;
    static_assert(LastingRecoveryMs > GainHoldMs && GainHoldMs > FirstCoolDownMs);

    // One reading. armed: the rule is on, and nothing holds runs back (a run
    // going on, the settings page, a box of ours). True: purge now.
    bool Tick(std::uint64_t nowMs, std::uint64_t standbyBytes, std::uint64_t freeBytes, std::uint64_t atLeastBytes,
              std::uint64_t freeBelowBytes, bool armed);

    // The purge Tick started has ended at nowMs, having raised free memory
    // by freedBytes; atLeastBytes is the list's set amount.
    void PurgeEnded(std::uint64_t nowMs, std::uint64_t freedBytes, std::uint64_t atLeastBytes);
    // The purge failed (Windows refused it); it counts as one that freed
    // nothing. True when the failure is to be told: once, until a purge
    // succeeds or the spell ends.
    bool PurgeFailed(std::uint64_t nowMs, std::uint64_t atLeastBytes);

    // The wait after the last purge.
    std::uint64_t WaitMs() const noexcept { return wait_; }

private:
    void Ended(std::uint64_t nowMs, std::uint64_t freedBytes, std::uint64_t atLeastBytes);
    void GainedLittle() noexcept;

    bool purgedBefore_ = false;
    std::uint64_t lastPurgeEnd_ = 0;
    std::uint64_t wait_ = FirstCoolDownMs;
    std::uint64_t coolDown_ = FirstCoolDownMs;
    // The last purge's gain is still to be judged.
    bool judging_ = false;
    // The first reading of the present stretch with the conditions not both
    // met since the last purge; none while they are.
    bool calm_ = false;
    std::uint64_t calmSince_ = 0;
    bool failureTold_ = false;
};
