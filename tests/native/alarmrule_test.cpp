// The alarm's rule, one tick at a time: free memory and the time go in, with
// what each run it starts frees; whether a run starts and whether it is
// reported come out.
#include <gtest/gtest.h>

#include <cstdint>

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

TEST(AlarmRule, WaitsLongerWhileRunsGainLittleAndStartsAfreshOnRecovery)
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
        // Free memory recovers: the wait is a minute again, and the next
        // fall is reported.
        {"recovered", 5461, 600, true, 0, false, false},
        {"falls again within the minute", 5462, 100, true, 5, false, false},
        {"a minute after the last run", 5520, 100, true, 5, true, true},
        // A run that frees a tenth gained enough: the wait stays a minute.
        {"a tenth freed kept the minute", 5580, 100, true, 40, true, false},
        {"a run in progress or the settings open", 5640, 100, false, 40, false, false},
        {"armed again", 5641, 100, true, 40, true, false},
        {"at the level counts as recovered", 5642, 500, true, 0, false, false},
        {"below again, the minute not over", 5700, 499, true, 0, false, false},
        {"after it, reported", 5701, 499, true, 0, true, true},
        {"just above the level", 5702, 501, false, 0, false, false},
        {"a new fall", 5761, 100, true, 0, true, true},
        {"a minute after it", 5821, 100, true, 0, true, false},
        {"nothing freed twice: two minutes", 5940, 100, true, 0, false, false},
        {"and then it runs", 5941, 100, true, 0, true, false},
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
