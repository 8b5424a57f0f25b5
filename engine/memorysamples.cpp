#include "engine/memorysamples.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint32_t kMaxUnits = std::numeric_limits<std::uint32_t>::max();

std::uint32_t Units(std::uint64_t bytes) noexcept
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes / TMemorySample::kUnitBytes, kMaxUnits));
}

std::uint32_t SampleTime(std::int64_t seconds) noexcept
{
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(seconds, 0, kMaxUnits));
}

TMemorySample ToSample(std::int64_t nowSeconds, const TMemoryDivision& d) noexcept
{
    TMemorySample s;
    s.Time = SampleTime(nowSeconds);
    s.Source = d.Source;
    s.Available = Units(d.AvailableBytes);
    if (!d.Divided()) {
        s.InUse = Units(d.InUseBytes);
        return s;
    }
    s.Modified = Units(d.ModifiedBytes);
    s.Standby = Units(d.StandbyBytes);
    s.Free = Units(d.FreeBytes);
    // In use takes what the lists leave, so that the rounded parts still add
    // up to the total.
    const std::uint64_t lists = std::uint64_t{s.Modified} + s.Standby + s.Free;
    const std::uint32_t total = Units(d.TotalBytes);
    s.InUse = lists < total ? static_cast<std::uint32_t>(total - lists) : 0;
    return s;
}

} // namespace

std::int64_t SpanSeconds(TSampleSpan span) noexcept
{
    switch (span) {
    case TSampleSpan::ssTenMinutes: return 10 * 60;
    case TSampleSpan::ssHour: return 60 * 60;
    case TSampleSpan::ssDay: break;
    }
    return 24 * 60 * 60;
}

void TMemorySamples::TRing::Push(const TMemorySample& sample) noexcept
{
    if (size_ == samples_.size()) {
        first_ = (first_ + 1) % samples_.size();
        --size_;
    }
    ++size_;
    Newest() = sample;
}

TMemorySamples::TMemorySamples() = default;

void TMemorySamples::Add(std::int64_t nowSeconds, const TMemoryDivision& division)
{
    const TMemorySample sample = ToSample(nowSeconds, division);
    for (TRing* ring : {&recent_, &minutes_})
        while (ring->Size() != 0 && ring->Newest().Time > sample.Time) ring->DropNewest();
    recent_.Push(sample);
    if (minutes_.Size() != 0 && minutes_.Newest().Time / 60 == sample.Time / 60)
        minutes_.Newest() = sample;
    else
        minutes_.Push(sample);
}

std::size_t TMemorySamples::MinutesShown() const noexcept
{
    if (recent_.Size() == 0) return minutes_.Size();
    const std::uint32_t recentFrom = recent_[0].Time;
    std::size_t low = 0, high = minutes_.Size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (minutes_[mid].Time < recentFrom)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

const TMemorySample& TMemorySamples::At(std::size_t i) const noexcept
{
    const std::size_t minutes = MinutesShown();
    return i < minutes ? minutes_[i] : recent_[i - minutes];
}

std::size_t TMemorySamples::FirstAbove(std::int64_t time) const noexcept
{
    if (time < 0) return 0;
    std::size_t low = 0, high = Count();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (At(mid).Time <= time)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

std::vector<TMemorySample> TMemorySamples::Between(std::int64_t from, std::int64_t to) const
{
    std::vector<TMemorySample> samples;
    if (from > to) return samples;
    const std::size_t end = FirstAbove(to);
    for (std::size_t i = from > 0 ? FirstAbove(from - 1) : 0; i < end; ++i) samples.push_back(At(i));
    return samples;
}

std::vector<TMemorySample> TMemorySamples::Span(TSampleSpan span, std::int64_t now) const
{
    return Between(now - SpanSeconds(span) + 1, now);
}

std::optional<TMemorySample> TMemorySamples::AtOrBefore(std::int64_t time) const
{
    const std::size_t above = FirstAbove(time);
    if (above == 0) return std::nullopt;
    return At(above - 1);
}

std::optional<TMemorySample> TMemorySamples::FirstAfter(std::int64_t time) const
{
    const std::size_t above = FirstAbove(time);
    if (above == Count()) return std::nullopt;
    return At(above);
}
