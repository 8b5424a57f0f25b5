// The interval's runs over simulated days: the count from the end of the
// last run of any kind, runs held back while they cannot start, the
// interval switched on, changed and off.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/intervalrule.h"

namespace {

constexpr std::uint64_t kSecond = 1000;
constexpr std::uint64_t kMinute = 60 * kSecond;
constexpr std::uint64_t kDay = 24 * 60 * kMinute;

struct TSpan {
    std::uint64_t from, to;  // seconds, to excluded
};

struct TScenario {
    const char* what;
    std::uint32_t minutes;
    std::uint64_t days;
    std::vector<std::uint64_t> otherRuns = {};  // seconds: runs the user or the alarm started
    std::vector<TSpan> settingsOpen = {};
    std::uint64_t otherRunsEvery = 0;           // seconds; an alarm that keeps running
    // What is seen: the starts of the interval's runs.
    std::size_t runs;
    std::vector<std::uint64_t> firstStarts;
};

// Ticks once a second, as the window does. Every run lasts three seconds,
// during which no run can start; ticks go on inside it.
std::vector<std::uint64_t> Simulate(const TScenario& s)
{
    constexpr std::uint64_t kRunSeconds = 3;
    TIntervalRule rule;
    rule.SetInterval(s.minutes, 0);
    std::vector<std::uint64_t> starts;
    std::uint64_t runEnds = 0;
    bool running = false;
    for (std::uint64_t t = 0; t < s.days * kDay / kSecond; ++t) {
        const std::uint64_t now = t * kSecond;
        if (running && t >= runEnds) {
            running = false;
            rule.RunEnded(now);
        }
        bool other = false;
        for (std::uint64_t r : s.otherRuns) other = other || r == t;
        other = other || (s.otherRunsEvery != 0 && t != 0 && t % s.otherRunsEvery == 0);
        bool open = false;
        for (const TSpan& span : s.settingsOpen) open = open || (t >= span.from && t < span.to);
        if (other && !running) {
            running = true;
            runEnds = t + kRunSeconds;
        }
        if (rule.Tick(now, !running && !open)) {
            starts.push_back(t);
            running = true;
            runEnds = t + kRunSeconds;
        }
    }
    return starts;
}

} // namespace

TEST(IntervalRule, OverDaysItRunsCountingFromTheEndOfTheLastRun)
{
    const TScenario scenarios[] = {
        {"every 5 minutes for a day", 5, 1, {}, {}, 0, 285, {300, 603, 906}},
        {"a run of the user's puts the next off by a whole interval", 60, 1, {1800}, {}, 0, 23, {5403, 9006}},
        {"due while the settings are open: one run when they close", 5, 1, {}, {{200, 1000}}, 0, 282, {1000, 1303}},
        {"once a day for a week", 1440, 7, {}, {}, 0, 6, {86400, 172803}},
        {"an alarm that runs every four minutes leaves nothing to do", 5, 2, {}, {}, 240, 0, {}},
        {"off", 0, 2, {}, {}, 0, 0, {}},
    };
    for (const TScenario& s : scenarios) {
        const std::vector<std::uint64_t> starts = Simulate(s);
        EXPECT_EQ(starts.size(), s.runs) << s.what;
        for (std::size_t i = 0; i < s.firstStarts.size() && i < starts.size(); ++i)
            EXPECT_EQ(starts[i], s.firstStarts[i]) << s.what << ", run " << i;
    }
}

TEST(IntervalRule, SwitchedOnItCountsFromThenAndAChangeKeepsTheCount)
{
    TIntervalRule rule;
    EXPECT_FALSE(rule.MsUntilNext(0));
    rule.SetInterval(10, 1 * kDay);  // a day after the start, no run yet
    EXPECT_EQ(rule.MsUntilNext(1 * kDay), 10 * kMinute);
    EXPECT_FALSE(rule.Tick(1 * kDay + kMinute, true));
    rule.SetInterval(5, 1 * kDay + kMinute);  // shorter: due four minutes from now
    EXPECT_EQ(rule.MsUntilNext(1 * kDay + kMinute), 4 * kMinute);
    EXPECT_FALSE(rule.Tick(1 * kDay + 4 * kMinute, true));
    EXPECT_EQ(rule.MsUntilNext(1 * kDay + 6 * kMinute), 0u) << "due, waiting to be armed";
    EXPECT_FALSE(rule.Tick(1 * kDay + 6 * kMinute, false));
    EXPECT_TRUE(rule.Tick(1 * kDay + 7 * kMinute, true));
    EXPECT_FALSE(rule.Tick(1 * kDay + 7 * kMinute + kSecond, true)) << "twice before its run ended";
    rule.SetInterval(0, 1 * kDay + 8 * kMinute);
    EXPECT_FALSE(rule.Tick(3 * kDay, true));
    EXPECT_FALSE(rule.MsUntilNext(3 * kDay));
}
