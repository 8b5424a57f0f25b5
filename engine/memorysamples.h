// The samples of how memory divides: one at each reading for the last hour,
// and one a minute for the last 24 hours, kept in two fixed rings so that
// neither the refresh period (1 s to an hour) nor a clock that jumps can grow
// them. Platform-free: the window feeds it a division at each reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/memorydivision.h"

// One reading, in units of 4 KiB (16 TiB fit).
struct TMemorySample {
    static constexpr std::uint64_t kUnitBytes = 4096;

    std::uint32_t Time = 0;  // seconds since 1970-01-01 UTC
    // The four parts add up to the total. With dsNone only InUse (the total
    // less available) is known, and the three lists are zero.
    std::uint32_t InUse = 0, Modified = 0, Standby = 0, Free = 0;
    std::uint32_t Available = 0;
    TDivisionSource Source = TDivisionSource::dsNone;

    bool Divided() const noexcept { return Source != TDivisionSource::dsNone; }
    static std::uint64_t Bytes(std::uint32_t units) noexcept { return units * kUnitBytes; }
};

// What the graph offers to show, newest on the right.
enum class TSampleSpan : std::uint8_t { ssTenMinutes, ssHour, ssDay };
std::int64_t SpanSeconds(TSampleSpan span) noexcept;

class TMemorySamples {
public:
    // An hour of readings at the shortest refresh period, one second.
    static constexpr std::size_t kRecentCapacity = 3600;
    static constexpr std::size_t kMinuteCapacity = 24 * 60;
    // What a day's samples take, whatever the program's bitness.
    static constexpr std::size_t kSampleBytes = (kRecentCapacity + kMinuteCapacity) * sizeof(TMemorySample);
    static_assert(kSampleBytes <= 200 * 1024);

    TMemorySamples();

    // A reading at nowSeconds. Each minute keeps the last reading taken in
    // it, not a mean: a kept sample is then a state memory was really in,
    // with parts that add up to its total, and a run's before and after are
    // never blended into one. A clock set back drops the samples later than
    // nowSeconds, so that times only rise; one set forward (or a sleep)
    // leaves a gap.
    void Add(std::int64_t nowSeconds, const TMemoryDivision& division);

    // The samples from `from` to `to`, both included, oldest first: each
    // reading where the last hour's samples reach, one a minute before that.
    std::vector<TMemorySample> Between(std::int64_t from, std::int64_t to) const;
    // The span that ends at now.
    std::vector<TMemorySample> Span(TSampleSpan span, std::int64_t now) const;
    std::optional<TMemorySample> AtOrBefore(std::int64_t time) const;
    std::optional<TMemorySample> FirstAfter(std::int64_t time) const;

private:
    // A fixed ring of samples, oldest first; a full ring drops its oldest.
    class TRing {
    public:
        explicit TRing(std::size_t capacity) : samples_(capacity) {}
        std::size_t Size() const noexcept { return size_; }
        const TMemorySample& operator[](std::size_t i) const noexcept
        {
            return samples_[(first_ + i) % samples_.size()];
        }
        TMemorySample& Newest() noexcept { return samples_[(first_ + size_ - 1) % samples_.size()]; }
        void Push(const TMemorySample& sample) noexcept;
        void DropNewest() noexcept { --size_; }

    private:
        std::vector<TMemorySample> samples_;
        std::size_t first_ = 0, size_ = 0;
    };

    // The minute samples older than the oldest recent one, then the recent
    // ones: one row of rising times.
    std::size_t MinutesShown() const noexcept;
    std::size_t Count() const noexcept { return MinutesShown() + recent_.Size(); }
    const TMemorySample& At(std::size_t i) const noexcept;
    // The first index whose time is above `time`.
    std::size_t FirstAbove(std::int64_t time) const noexcept;

    TRing recent_{kRecentCapacity};
    TRing minutes_{kMinuteCapacity};
};
