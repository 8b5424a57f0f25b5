#include "engine/runrefill.h"

#include <algorithm>

namespace {

std::int64_t Change(const TMemorySample& before, const TMemorySample& after, std::uint32_t TMemorySample::*part) noexcept
{
    return static_cast<std::int64_t>(after.Bytes(after.*part)) - static_cast<std::int64_t>(before.Bytes(before.*part));
}

} // namespace

TRunMoment RunMoment(std::int64_t startSeconds, std::uint64_t milliseconds, std::uint64_t availableBeforeBytes) noexcept
{
    const std::int64_t seconds = static_cast<std::int64_t>(std::min<std::uint64_t>((milliseconds + 999) / 1000, 1u << 30));
    return {startSeconds, startSeconds + seconds, availableBeforeBytes};
}

TRefill RunRefill(const TMemorySamples& samples, const TRunMoment& run, std::optional<std::int64_t> laterRunStart,
                  std::int64_t now)
{
    // Samples that start after the run never saw it end, nor what it gained.
    if (!samples.AtOrBefore(run.Start - 1)) return {};
    // A reading taken in the later run's first second may already see it.
    const bool cut = laterRunStart && *laterRunStart <= now;
    for (const TMemorySample& s : samples.Between(run.End + 1, cut ? *laterRunStart - 1 : now))
        if (s.Bytes(s.Available) <= run.AvailableBeforeBytes) return {TRefillState::rfRefilled, s.Time - run.End};
    if (cut) return {TRefillState::rfCutByLaterRun, std::max<std::int64_t>(*laterRunStart - run.End, 0)};
    return {TRefillState::rfNotYet, std::max<std::int64_t>(now - run.End, 0)};
}

std::optional<TRunChange> RunChange(const TMemorySamples& samples, const TRunMoment& run)
{
    const auto before = samples.AtOrBefore(run.Start - 1);
    const auto after = samples.FirstAfter(run.End);
    if (!before || !after || !before->Divided() || !after->Divided()) return std::nullopt;
    return TRunChange{before->Time,
                      after->Time,
                      Change(*before, *after, &TMemorySample::InUse),
                      Change(*before, *after, &TMemorySample::Modified),
                      Change(*before, *after, &TMemorySample::Standby),
                      Change(*before, *after, &TMemorySample::Free),
                      Change(*before, *after, &TMemorySample::Available)};
}
