// The figure the tray icon shows over a run of ticks, and whether each tick
// draws it again: only a changed number, level, size, theme or colour does.
#include <gtest/gtest.h>

#include <cstdint>

#include "controls/trayfigure.h"

namespace {

using enum TFreeLevel;

constexpr std::uint64_t kTotal = 1000;  // a quarter is 250, one and a half quarters 375

} // namespace

TEST(TrayFigureRule, ATickRedrawsOnlyWhatLooksDifferent)
{
    const struct {
        const char* what;
        int percent;
        std::uint64_t avail;
        bool autoOptimize;
        std::uint64_t alarm;
        int size;
        bool light;
        std::uint32_t normal;
        bool forget;  // the icon was given back to the program's picture before this tick
        int shown;
        TFreeLevel level;
        bool redraw;
    } ticks[] = {
        {"first tick", 60, 600, false, 0, 16, false, 0x62C128, false, 60, flNormal, true},
        {"nothing changed", 60, 600, false, 0, 16, false, 0x62C128, false, 60, flNormal, false},
        {"bytes moved within the percent", 60, 604, false, 0, 16, false, 0x62C128, false, 60, flNormal, false},
        {"the number", 59, 590, false, 0, 16, false, 0x62C128, false, 59, flNormal, true},
        {"at one and a half quarters", 37, 375, false, 0, 16, false, 0x62C128, false, 37, flNormal, true},
        {"just below it: amber, same number", 37, 374, false, 0, 16, false, 0x62C128, false, 37, flNear, true},
        {"at a quarter", 25, 250, false, 0, 16, false, 0x62C128, false, 25, flNear, true},
        {"below a quarter", 24, 249, false, 0, 16, false, 0x62C128, false, 24, flBelow, true},
        {"alarm 0 starts no run: still the quarter", 24, 249, true, 0, 16, false, 0x62C128, false, 24, flBelow, false},
        {"far above the alarm", 24, 249, true, 100, 16, false, 0x62C128, false, 24, flNormal, true},
        {"within one and a half alarms", 24, 249, true, 200, 16, false, 0x62C128, false, 24, flNear, true},
        {"below the alarm", 24, 249, true, 250, 16, false, 0x62C128, false, 24, flBelow, true},
        {"equal to the alarm is not below", 25, 250, true, 250, 16, false, 0x62C128, false, 25, flNear, true},
        {"all free", 100, 1000, false, 0, 16, false, 0x62C128, false, 99, flNormal, true},
        {"100 shows as 99: no change", 99, 999, false, 0, 16, false, 0x62C128, false, 99, flNormal, false},
        {"a larger icon", 99, 999, false, 0, 20, false, 0x62C128, false, 99, flNormal, true},
        {"a light taskbar", 99, 999, false, 0, 20, true, 0x62C128, false, 99, flNormal, true},
        {"another monitor colour", 99, 999, false, 0, 20, true, 0x0000FF, false, 99, flNormal, true},
        {"given back and shown again", 99, 999, false, 0, 20, true, 0x0000FF, true, 99, flNormal, true},
        {"then steady again", 99, 999, false, 0, 20, true, 0x0000FF, false, 99, flNormal, false},
    };
    TTrayFigureRule rule;
    for (const auto& t : ticks) {
        const TTrayFigure f = TrayFigureFor(t.percent, t.avail, kTotal, t.autoOptimize, t.alarm);
        EXPECT_EQ(f.Percent, t.shown) << t.what;
        EXPECT_EQ(f.Level, t.level) << t.what;
        if (t.forget) rule.Forget();
        EXPECT_EQ(rule.Redraw({f, t.size, t.light, t.normal}), t.redraw) << t.what;
    }
}
