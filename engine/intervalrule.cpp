#include "engine/intervalrule.h"

namespace {

constexpr std::uint64_t kMsPerMinute = 60'000;

} // namespace

void TIntervalRule::SetInterval(std::uint32_t minutes, std::uint64_t nowMs) noexcept
{
    // Switched on, the count starts now; while on, it runs from the last
    // run's end.
    if (minutes_ == 0 && minutes != 0) countFrom_ = nowMs > countFrom_ ? nowMs : countFrom_;
    minutes_ = minutes;
}

bool TIntervalRule::Tick(std::uint64_t nowMs, bool armed) noexcept
{
    if (!armed || minutes_ == 0 || nowMs < countFrom_ || nowMs - countFrom_ < minutes_ * kMsPerMinute) return false;
    // Not again before this run's end restarts the count, even if it never
    // reports one.
    countFrom_ = nowMs;
    return true;
}

void TIntervalRule::RunEnded(std::uint64_t nowMs) noexcept
{
    countFrom_ = nowMs;
}

std::optional<std::uint64_t> TIntervalRule::MsUntilNext(std::uint64_t nowMs) const noexcept
{
    if (minutes_ == 0) return std::nullopt;
    const std::uint64_t due = countFrom_ + minutes_ * kMsPerMinute;
    return due > nowMs ? due - nowMs : 0;
}
