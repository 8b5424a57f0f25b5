// How memory divides, the day of samples, and what a run did and how long its
// gain lasted, as tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/runrefill.h"
#include "settings/historyformat.h"

namespace {

constexpr std::uint64_t MB = 1'048'576;
constexpr std::int64_t T0 = 1'774'735'200;  // 2026-03-28 22:00 UTC
constexpr auto kLists = TDivisionSource::dsMemoryLists;

// A machine of 8000 MB with `available` MB, half of it free, half standby.
TMemoryDivision Machine(double available)
{
    const auto half = static_cast<std::uint64_t>(available * MB / 2);
    TMemoryListReading lists{kLists, half, 100 * MB};
    lists.StandbyByPriority[2] = half;
    return DivideMemory({0, 8000 * MB, 2 * half}, lists);
}

} // namespace

TEST(MemoryDivision, ListsBecomeFourPartsThatFillTheTotal)
{
    const struct {
        const char* what;
        std::uint64_t totalMB, availableMB;
        TMemoryListReading lists;  // in MB
        std::uint64_t inUse, modified, standby, free, lowestPriority;
        bool clamped;
    } rows[] = {
        {"the memory lists", 8000, 3000, {kLists, 1000, 200, 0, {100, 0, 0, 0, 0, 1900}}, 4800, 200, 2000, 1000, 100, false},
        {"the counters: standby as one sum", 8000, 3000, {TDivisionSource::dsCounters, 1000, 200, 2000}, 4800, 200, 2000,
         1000, 0, false},
        {"neither: in use and available only", 8000, 3000, {TDivisionSource::dsNone, 1000, 200, 2000}, 5000, 0, 0, 0, 0,
         false},
        {"lists beyond the total: free kept, standby cut from the lowest priority", 8000, 7900,
         {kLists, 6000, 200, 0, {1500, 0, 0, 0, 0, 1500}}, 0, 0, 2000, 6000, 500, true},
        {"a priority beyond any memory does not wrap the sum", 8000, 7900,
         {kLists, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, std::numeric_limits<std::uint64_t>::max() / MB}}, 0, 0, 8000, 0, 0,
         true},
        {"available above the total", 8000, 9000, {TDivisionSource::dsNone}, 0, 0, 0, 0, 0, false},
    };
    for (const auto& r : rows) {
        TMemoryListReading lists = r.lists;
        for (std::uint64_t* bytes : {&lists.FreeBytes, &lists.ModifiedBytes, &lists.StandbyBytes}) *bytes *= MB;
        for (std::uint64_t& bytes : lists.StandbyByPriority) bytes *= MB;
        const TMemoryDivision d = DivideMemory({0, r.totalMB * MB, r.availableMB * MB}, lists);
        EXPECT_EQ(d.InUseBytes, r.inUse * MB) << r.what;
        EXPECT_EQ(d.ModifiedBytes, r.modified * MB) << r.what;
        EXPECT_EQ(d.StandbyBytes, r.standby * MB) << r.what;
        EXPECT_EQ(d.FreeBytes, r.free * MB) << r.what;
        EXPECT_EQ(d.StandbyByPriority[0], r.lowestPriority * MB) << r.what;
        EXPECT_EQ(d.Clamped, r.clamped) << r.what;
        EXPECT_LE(d.AvailableBytes, d.TotalBytes) << r.what;
    }
}

// Readings every `period` seconds from `from` to before `to`, leg after leg;
// a leg that starts earlier than the last ended is a clock set back.
TEST(MemorySamples, ADayKeepsEachReadingOfTheLastHourAndTheLastOfEachMinute)
{
    struct TLeg {
        std::int64_t from, to, period;
    };
    const struct {
        const char* what;
        std::vector<TLeg> legs;
        std::int64_t probe;  // AtOrBefore's time
        const char* expected;
    } rows[] = {
        {"a day and more at 1 s, across midnight", {{T0, T0 + 26 * 3600, 1}}, T0 + 12 * 3600 + 30,
         "10m:600 1h:3600 day:4980 first:+7259 before:+43199"},
        {"a reading an hour for two days", {{T0, T0 + 48 * 3600, 3600}}, T0 + 12 * 3600 + 30,
         "10m:1 1h:1 day:24 first:+86400 before:+43200"},
        {"asleep for eight hours", {{T0, T0 + 7200, 1}, {T0 + 36'000, T0 + 36'600, 1}}, T0 + 6 * 3600,
         "10m:600 1h:600 day:3670 first:+59 before:+7199"},
        {"the clock set back half an hour", {{T0, T0 + 7200, 1}, {T0 + 5400, T0 + 6000, 1}}, T0 + 7000,
         "10m:601 1h:2421 day:2461 first:+59 before:+5999"},
    };
    for (const auto& r : rows) {
        TMemorySamples samples;
        std::int64_t now = 0;
        for (const TLeg& leg : r.legs)
            for (now = leg.from; now < leg.to; now += leg.period) samples.Add(now, Machine(1000));
        now -= r.legs.back().period;
        std::string seen;
        for (TSampleSpan span : {TSampleSpan::ssTenMinutes, TSampleSpan::ssHour, TSampleSpan::ssDay}) {
            const std::vector<TMemorySample> shown = samples.Span(span, now);
            EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(),
                                       [](const auto& a, const auto& b) { return a.Time < b.Time; }))
                << r.what;
            seen += (seen.empty() ? "10m:" : span == TSampleSpan::ssHour ? " 1h:" : " day:") + std::to_string(shown.size());
            if (span == TSampleSpan::ssDay) seen += " first:+" + std::to_string(shown.front().Time - T0);
        }
        seen += " before:+" + std::to_string(samples.AtOrBefore(r.probe)->Time - T0);
        EXPECT_EQ(seen, r.expected) << r.what;
    }
}

// A run at 00:00+01:00 (T0 + 1 h) of 24.5 s, with 1000 MB available before
// it. Readings every 10 s: 50 MB during the run, 3000 MB for a minute after
// it, then falling by `fall` MB a minute to 500 MB.
TEST(RunRefill, TheGainLastsUntilAvailableMemoryIsBackOrAnotherRunComes)
{
    const struct {
        const char* what;
        double fall;
        std::int64_t samplesFrom, laterRun, now;  // seconds after the run's start; laterRun 0: none
        TRefillState state;
        std::int64_t seconds;
        std::optional<std::int64_t> freeChangeMB;
    } rows[] = {
        {"back after about five minutes", 500, -3600, 0, 1800, TRefillState::rfRefilled, 305, 1000},
        {"not yet after half an hour", 10, -3600, 0, 1800, TRefillState::rfNotYet, 1775, 1000},
        {"cut by a later run before it was back", 500, -3600, 200, 1800, TRefillState::rfCutByLaterRun, 175, 1000},
        {"the samples began after the run", 500, 60, 0, 1800, TRefillState::rfUnknown, 0, std::nullopt},
    };
    TRunRecord record;
    record.Start = {2026, 3, 29, 0, 0, 0, 60};
    record.Milliseconds = 24'500;
    record.FreeBeforeBytes = 1000 * MB;
    const TRunMoment run = RunMoment(UtcSeconds(record.Start), record.Milliseconds, record.FreeBeforeBytes);
    for (const auto& r : rows) {
        const std::int64_t start = T0 + 3600;
        TMemorySamples samples;
        for (std::int64_t t = r.samplesFrom; t <= r.now; t += 10)
            samples.Add(start + t, Machine(t < 0 ? 1000 : t < 25 ? 50 : std::max(500.0, 3000 - r.fall * std::max(t - 85.0, 0.0) / 60)));
        const TRefill refill = RunRefill(samples, run, r.laterRun != 0 ? std::optional(start + r.laterRun) : std::nullopt,
                                         start + r.now);
        EXPECT_EQ(refill.State, r.state) << r.what;
        EXPECT_EQ(refill.Seconds, r.seconds) << r.what;
        const auto change = RunChange(samples, run);
        EXPECT_EQ(change ? std::optional(change->Free / static_cast<std::int64_t>(MB)) : std::nullopt, r.freeChangeMB)
            << r.what;
    }
}
