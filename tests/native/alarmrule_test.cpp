// The alarm's rule, one tick at a time: free memory and the time go in, with
// what each run it starts frees; whether a run starts and whether it is
// reported come out.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/alarmrule.h"

namespace {

constexpr std::uint64_t MB = 1'048'576;
constexpr std::uint64_t kAlarm = 500 * MB;
constexpr std::uint64_t kAsked = 50 * MB;

struct TTickRow {
    const char* what;
    std::uint64_t seconds;
    std::uint64_t freeMB;
    bool armed;
    std::uint64_t freedMB;  // by the run this tick starts, if it starts one
    bool run;
    bool report;
};

} // namespace

TEST(AlarmRule, WaitsLongerWhileRunsGainLittleAndStartsAfreshOnALastingRecovery)
{
    const TTickRow ticks[] = {
        // An alarm above what the machine can reach: each run frees 1 MB of 50.
        {"first fall", 0, 100, true, 1, true, true},
        {"next tick", 1, 100, true, 1, false, false},
        {"just short of a minute", 59, 100, true, 1, false, false},
        {"a minute on, silent", 60, 100, true, 1, true, false},
        {"the wait has doubled", 179, 100, true, 1, false, false},
        {"two minutes on", 180, 100, true, 1, true, false},
        {"four minutes on", 420, 100, true, 1, true, false},
        {"eight minutes on", 900, 100, true, 1, true, false},
        {"sixteen minutes on", 1860, 100, true, 1, true, false},
        {"thirty minutes, the longest", 3660, 100, true, 1, true, false},
        {"still thirty", 5459, 100, true, 1, false, false},
        {"thirty again", 5460, 100, true, 1, true, false},
        // Ten minutes at or above the level end the fall: the wait is a
        // minute again, and a new fall runs at once and is reported.
        {"above the level", 5461, 600, true, 0, false, false},
        {"not yet ten minutes", 6060, 600, true, 0, false, false},
        {"ten minutes: recovered", 6061, 600, true, 0, false, false},
        {"a new fall runs at once", 6062, 100, true, 5, true, true},
        // A tenth freed is enough only when the gain also holds.
        {"the run's own gain", 6063, 600, true, 0, false, false},
        {"below again within three minutes", 6100, 100, true, 0, false, false},
        {"a minute after the run, silent", 6122, 100, true, 50, true, false},
        {"the level never reached: doubled", 6241, 100, true, 50, false, false},
        {"two minutes on", 6242, 100, true, 50, true, false},
        {"at the level counts as above it", 6243, 500, true, 0, false, false},
        {"held three minutes: a gain", 6423, 500, true, 0, false, false},
        {"below before ten minutes: the same fall, the same wait", 6482, 499, true, 50, true, false},
        {"a run in progress or the settings open", 6722, 499, false, 0, false, false},
        {"armed again", 6723, 499, true, 0, true, false},
        {"that gain did not hold: four minutes", 7202, 499, true, 0, false, false},
        {"four minutes on", 7203, 499, true, 0, true, false},
    };
    TAlarmRule rule;
    for (const TTickRow& t : ticks) {
        const TAlarmDecision d = rule.Tick(t.seconds * 1000, t.freeMB * MB, kAlarm, t.armed);
        EXPECT_EQ(d.Run, t.run) << t.what;
        EXPECT_EQ(d.Report, t.report) << t.what;
        if (d.Run) rule.AlarmRunEnded(t.seconds * 1000, kAsked, t.freedMB * MB);
    }
}

TEST(AlarmRule, AnAlarmOfZeroNeverRuns)
{
    TAlarmRule rule;
    EXPECT_FALSE(rule.Tick(0, 0, 0, true).Run);
    EXPECT_FALSE(rule.Tick(3'600'000, 0, 0, true).Run);
}

namespace {

// A machine whose free memory, a second at a time, is high for a while
// after each alarm run (the run has pushed other programs out) and low
// otherwise; each run frees freedMB of the 50 asked.
struct TWorkload {
    const char* what;
    std::uint64_t highSeconds;  // after each run
    std::uint64_t freedMB;
    std::vector<std::uint64_t> gaps;  // seconds between the runs in two hours
    int reports;
};

struct TRunsSeen {
    std::vector<std::uint64_t> starts;
    int reports = 0;
    int failuresTold = 0;
};

// One-second ticks from first to last; freeMB(second) is the free memory
// then. Runs end on the tick that starts them, having freed freedMB, or
// failed when freedMB is none.
template <class FreeAt>
void Tick(TAlarmRule& rule, std::uint64_t first, std::uint64_t last, FreeAt freeMB,
          std::optional<std::uint64_t> freedMB, TRunsSeen& seen)
{
    for (std::uint64_t s = first; s <= last; ++s) {
        const TAlarmDecision d = rule.Tick(s * 1000, freeMB(s) * MB, kAlarm, true);
        if (!d.Run) continue;
        seen.starts.push_back(s);
        seen.reports += d.Report;
        if (freedMB)
            rule.AlarmRunEnded(s * 1000, kAsked, *freedMB * MB);
        else
            seen.failuresTold += rule.AlarmRunFailed(s * 1000, kAsked);
    }
}

std::vector<std::uint64_t> Gaps(const std::vector<std::uint64_t>& starts)
{
    std::vector<std::uint64_t> gaps;
    for (std::size_t i = 1; i < starts.size(); ++i) gaps.push_back(starts[i] - starts[i - 1]);
    return gaps;
}

} // namespace

// A busy machine: the runs thin out to one every half hour, with one report
// for the whole fall, however much each run frees for the moment.
TEST(AlarmRule, OverHoursARunsOwnGainIsNoRecovery)
{
    const std::vector<std::uint64_t> thinning = {60, 120, 240, 480, 960, 1800, 1800};
    const TWorkload workloads[] = {
        {"taken back within a minute", 30, 50, thinning, 1},
        {"the level never reached, all freed", 0, 50, thinning, 1},
        {"taken back within three minutes", 170, 50, {171, 171, 240, 480, 960, 1800, 1800}, 1},
        // A gain that holds five minutes is worth a run each time, but it is
        // one fall, told once.
        {"a gain that holds five minutes", 300, 50, std::vector<std::uint64_t>(23, 301), 1},
        // One that holds a quarter of an hour ends each fall.
        {"a gain that holds a quarter of an hour", 900, 50, std::vector<std::uint64_t>(7, 901), 8},
    };
    for (const TWorkload& w : workloads) {
        TAlarmRule rule;
        TRunsSeen seen;
        auto freeAt = [&](std::uint64_t s) -> std::uint64_t {
            const bool high = !seen.starts.empty() && s - seen.starts.back() <= w.highSeconds;
            return high ? 600 : 100;
        };
        Tick(rule, 0, 2 * 3600 - 1, freeAt, w.freedMB, seen);
        EXPECT_EQ(Gaps(seen.starts), w.gaps) << w.what;
        EXPECT_EQ(seen.reports, w.reports) << w.what;
    }
}

TEST(AlarmRule, AFallAfterAnHourOfRecoveryRunsAtOnceAndIsTold)
{
    TAlarmRule rule;
    TRunsSeen seen;
    auto low = [](std::uint64_t) -> std::uint64_t { return 100; };
    auto high = [](std::uint64_t) -> std::uint64_t { return 600; };
    Tick(rule, 0, 3 * 3600, low, 50, seen);  // thinned out to half an hour
    ASSERT_EQ(rule.WaitMs(), TAlarmRule::LongestCoolDownMs);
    const std::size_t before = seen.starts.size();
    Tick(rule, 3 * 3600 + 1, 4 * 3600, high, 50, seen);
    EXPECT_EQ(seen.starts.size(), before);
    Tick(rule, 4 * 3600 + 1, 4 * 3600 + 200, low, 50, seen);
    EXPECT_EQ(std::vector<std::uint64_t>(seen.starts.begin() + before, seen.starts.end()),
              (std::vector<std::uint64_t>{4 * 3600 + 1, 4 * 3600 + 61, 4 * 3600 + 181}));
    EXPECT_EQ(seen.reports, 2);
}

// Runs that fail (out of memory, in the very state that sets the alarm off)
// thin out like the others, and the failure is told once a fall.
TEST(AlarmRule, FailuresAreToldOnceAFall)
{
    TAlarmRule rule;
    TRunsSeen seen;
    auto low = [](std::uint64_t) -> std::uint64_t { return 100; };
    auto high = [](std::uint64_t) -> std::uint64_t { return 600; };
    Tick(rule, 0, 3 * 3600, low, std::nullopt, seen);
    EXPECT_EQ(seen.failuresTold, 1);
    EXPECT_EQ(Gaps(seen.starts), (std::vector<std::uint64_t>{60, 120, 240, 480, 960, 1800, 1800, 1800, 1800}));
    Tick(rule, 3 * 3600 + 1, 3 * 3600 + 601, high, std::nullopt, seen);
    Tick(rule, 3 * 3600 + 602, 3 * 3600 + 602, low, std::nullopt, seen);
    EXPECT_EQ(seen.failuresTold, 2);
}
