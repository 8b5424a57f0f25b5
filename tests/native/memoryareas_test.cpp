// The plan of a run, the stored choice of areas and the history's areas
// field, as tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/memoryareas.h"

namespace {

constexpr std::int64_t MB = 1'048'576;
constexpr TWindowsVersion kXp{5, 1, 2600}, kServer2003{5, 2, 3790}, kVista{6, 0, 6000}, kWin81{6, 3, 9600},
    kWin10{10, 0, 19045};

// A plan as "name:r" (run), "name:R" (no rights), "name:B" (needs the 64-bit
// program), "name:W" (not this Windows).
std::string PlanText(const std::vector<TPlannedStep>& plan)
{
    std::string text;
    for (const TPlannedStep& s : plan) {
        if (!text.empty()) text += ' ';
        text += AreaName(s.Area);
        text += ':';
        text += "rRBW"[static_cast<int>(s.Plan)];
    }
    return text;
}

} // namespace

TEST(MemoryAreas, PlanTakesTheChosenAreasInRunOrderAndSkipsWhatCannotRun)
{
    const struct {
        std::uint32_t areas;
        bool elevated;
        TWindowsVersion windows;
        const char* plan;
        bool wow64 = false;
    } rows[] = {
        {kDefaultAreas, false, kWin10, "fill:r"},
        {kAllAreas, true, kWin10,
         "workingsets:r filecache:r fill:r modified:r standbylow:r standby:r combine:r"},
        {kAllAreas, false, kWin10,
         "workingsets:r filecache:R fill:r modified:R standbylow:R standby:R combine:R"},
        {kAreaCombine | kAreaFill | kAreaWorkingSets, true, kWin81, "workingsets:r fill:r combine:W"},
        {kAreaStandby | kAreaStandbyLow | kAreaModified | kAreaFileCache, true, kXp,
         "filecache:W modified:W standbylow:W standby:W"},
        {kAreaModified | kAreaFileCache, true, kServer2003, "filecache:r modified:W"},
        {kAreaStandby | kAreaStandbyLow, true, kVista, "standbylow:r standby:r"},
        // Rights are told before the version: the user can do something about them.
        {kAreaCombine | kAreaModified, false, kXp, "modified:R combine:R"},
        {0, true, kWin10, ""},
        // The 32-bit program on a 64-bit Windows: the system-wide areas wait
        // for the 64-bit one, after the rights.
        {kAllAreas, true, kWin81, "workingsets:r filecache:B fill:r modified:B standbylow:B standby:B combine:B", true},
        {kAreaCombine | kAreaFill, false, kWin10, "fill:r combine:R", true},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PlanText(PlanRun(r.areas, {r.elevated, r.windows, r.wow64})), r.plan) << std::hex << r.areas;
}

TEST(MemoryAreas, ResultsReadAsOneNameAndResultPerStep)
{
    const auto done = [](TMemoryArea a, std::int64_t rise) {
        TAreaResult r;
        r.Area = a;
        r.RiseBytes = rise;
        return r;
    };
    const auto outcome = [](TMemoryArea a, TStepOutcome o, std::uint32_t error = 0) {
        TAreaResult r;
        r.Area = a;
        r.Outcome = o;
        r.Error = error;
        return r;
    };
    TAreaResult trimmed = done(TMemoryArea::maWorkingSets, 212 * MB + 4 * MB / 10 + 1);
    trimmed.HasProcesses = true;
    trimmed.Trimmed = 41;
    trimmed.Seen = 57;
    const struct {
        std::vector<TAreaResult> results;
        const char* text;
        std::vector<TMemoryArea> refused;
    } rows[] = {
        {{}, "", {}},
        {{trimmed, outcome(TMemoryArea::maFileCache, TStepOutcome::soSkippedRights), done(TMemoryArea::maFill, 380 * MB)},
         "workingsets=+212.4(41/57) filecache=skipped-rights fill=+380.0", {}},
        {{outcome(TMemoryArea::maCombine, TStepOutcome::soSkippedWindows),
          outcome(TMemoryArea::maStandby, TStepOutcome::soFailed, 1300),
          outcome(TMemoryArea::maModified, TStepOutcome::soSkipped64Bit),
          outcome(TMemoryArea::maFill, TStepOutcome::soFailed, 8)},
         "combine=skipped-windows standby=failed-1300 modified=skipped-bitness fill=failed-8",
         {TMemoryArea::maStandby, TMemoryArea::maFill}},
        // Rounding to one decimal, half away from zero; nothing shows no minus.
        {{done(TMemoryArea::maModified, 0), done(TMemoryArea::maStandbyLow, -MB * 4 / 100),
          done(TMemoryArea::maStandby, -MB * 3 / 10), done(TMemoryArea::maFill, MB / 20 + 1),
          done(TMemoryArea::maCombine, MB / 20)},
         "modified=+0.0 standbylow=+0.0 standby=-0.3 fill=+0.1 combine=+0.0", {}},
        {{done(TMemoryArea::maFill, -MB * 19 / 20 - 1), done(TMemoryArea::maFill, 12 * MB + MB / 2),
          done(TMemoryArea::maFill, INT64_MIN), done(TMemoryArea::maFill, INT64_MAX)},
         "fill=-1.0 fill=+12.5 fill=-8796093022208.0 fill=+8796093022208.0", {}},
        {{trimmed, outcome(TMemoryArea::maWorkingSets, TStepOutcome::soFailed, 5)},
         "workingsets=+212.4(41/57) workingsets=failed-5", {TMemoryArea::maWorkingSets}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FormatAreaResults(r.results), r.text);
        EXPECT_EQ(RefusedAreas(r.results), r.refused) << r.text;
    }
}
