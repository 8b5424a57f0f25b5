// The standby rule over simulated hours, a reading a second, with each purge's
// own effect on the lists fed back in.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/standbyrule.h"

namespace {

constexpr std::uint64_t MB = 1'048'576;
constexpr std::uint64_t kAtLeast = 1024 * MB, kFreeBelow = 1024 * MB;

struct TLists {
    std::int64_t standbyMB = 0, freeMB = 0;
};

struct TWorkload {
    const char* what;
    TLists start;
    // What the machine does to the lists in a second, and what a purge does.
    std::function<void(TLists&)> second;
    std::function<void(TLists&)> purge;
    std::function<bool(std::uint64_t second)> armed;
    std::vector<std::uint64_t> gaps;  // seconds between purges in the first hour
    std::size_t firstPurge = 0;
};

void Clamp(TLists& l)
{
    l.standbyMB = std::max<std::int64_t>(l.standbyMB, 0);
    l.freeMB = std::max<std::int64_t>(l.freeMB, 0);
}

} // namespace

TEST(StandbyRule, PurgesWhenBothConditionsMeetAndThinsOutWhileTheCacheRefillsAtOnce)
{
    auto always = [](std::uint64_t) { return true; };
    auto purgeAll = [](TLists& l) { l.freeMB += l.standbyMB; l.standbyMB = 0; };
    const TWorkload workloads[] = {
        // A game takes 10 MB of free memory a second and the cache grows by
        // 2 MB a second: the list is purged each time it holds enough again.
        {"a game", {3000, 200}, [](TLists& l) { l.freeMB -= 12; l.standbyMB += 2; }, purgeAll, always,
         std::vector<std::uint64_t>(7, 512), 0},
        // Refilled within five seconds: the wait doubles to sixteen minutes.
        {"a cache that refills at once", {3000, 200},
         [](TLists& l) { if (l.standbyMB < 3000) { l.standbyMB += 600; l.freeMB -= 600; } }, purgeAll, always,
         {30, 60, 120, 240, 480, 960, 960}, 0},
        {"a full list, but free memory is plenty", {8000, 2000}, [](TLists&) {}, purgeAll, always, {}, SIZE_MAX},
        {"little free memory, but a small list", {1000, 100}, [](TLists&) {}, purgeAll, always, {}, SIZE_MAX},
        // Only the lowest priority is purged and it holds little: nothing
        // gained, and purges thin out all the same.
        {"the lowest priority holds little", {3000, 200}, [](TLists&) {},
         [](TLists& l) { l.standbyMB -= 50; l.freeMB += 50; }, always, {30, 60, 120, 240, 480, 960, 960}, 0},
        // Held back while the settings page is open, the first ten minutes.
        {"held back, then at once", {3000, 200}, [](TLists& l) { l.freeMB -= 12; l.standbyMB += 2; }, purgeAll,
         [](std::uint64_t s) { return s >= 600; }, std::vector<std::uint64_t>(5, 512), 600},
    };
    for (const TWorkload& w : workloads) {
        TStandbyRule rule;
        TLists lists = w.start;
        std::vector<std::uint64_t> purges;
        for (std::uint64_t s = 0; s < 3600; ++s) {
            const std::uint64_t now = s * 1000;
            if (rule.Tick(now, lists.standbyMB * MB, lists.freeMB * MB, kAtLeast, kFreeBelow, w.armed(s))) {
                const std::int64_t freeBefore = lists.freeMB;
                w.purge(lists);
                purges.push_back(s);
                rule.PurgeEnded(now, static_cast<std::uint64_t>(lists.freeMB - freeBefore) * MB, kAtLeast);
            }
            w.second(lists);
            Clamp(lists);
        }
        std::vector<std::uint64_t> gaps;
        for (std::size_t i = 1; i < purges.size(); ++i) gaps.push_back(purges[i] - purges[i - 1]);
        EXPECT_EQ(gaps, w.gaps) << w.what;
        EXPECT_EQ(purges.empty() ? SIZE_MAX : purges.front(), w.firstPurge) << w.what;
    }
}

// Windows refuses the purge: told once, not again until one succeeds or the
// conditions have not both been met for ten minutes.
TEST(StandbyRule, ARefusedPurgeIsToldOnceASpell)
{
    TStandbyRule rule;
    int told = 0, purges = 0;
    auto run = [&](std::uint64_t from, std::uint64_t to, std::uint64_t freeMB, bool fail) {
        for (std::uint64_t s = from; s < to; ++s)
            if (rule.Tick(s * 1000, 3000 * MB, freeMB * MB, kAtLeast, kFreeBelow, true)) {
                ++purges;
                if (fail) told += rule.PurgeFailed(s * 1000, kAtLeast);
                else rule.PurgeEnded(s * 1000, 2000 * MB, kAtLeast);
            }
    };
    run(0, 3600, 100, true);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(purges, 8) << "refused purges must thin out too";
    run(3600, 3600 + 601, 2000, true);  // calm for ten minutes
    run(3600 + 601, 3600 + 602, 100, true);
    EXPECT_EQ(told, 2);
    run(3600 + 602, 5400, 100, false);
    run(5400, 7200, 100, true);
    EXPECT_EQ(told, 3) << "a refusal after a purge that succeeded is news again";
}
