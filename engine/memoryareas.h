// The memory areas a run can free, and the plan of one run. Platform-free:
// the window hands in the user's choice, the rights held, the Windows
// version and the program's bitness; engine/memoryrun.* runs the plan, and engine/systemmemory.* makes
// the system calls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TMemoryArea : std::uint8_t { maFill, maWorkingSets, maFileCache, maModified, maStandbyLow, maStandby, maCombine };

inline constexpr std::uint32_t kAreaFill = 1, kAreaWorkingSets = 2, kAreaFileCache = 4, kAreaModified = 8,
                               kAreaStandbyLow = 16, kAreaStandby = 32, kAreaCombine = 64;
inline constexpr std::uint32_t kAllAreas = 0x7F;
// Nothing stored: a run fills, as it always has.
inline constexpr std::uint32_t kDefaultAreas = kAreaFill;

std::uint32_t AreaBit(TMemoryArea area) noexcept;
// The area's name in the run history: "fill", "workingsets", ...
std::string_view AreaName(TMemoryArea area) noexcept;

// Each step frees what the ones before it moved: trimming working sets and
// the file cache moves pages to the modified and standby lists; fill pushes
// the rest out and gives its own pages back; flushing the modified list turns
// it into standby; purging standby, lowest priority first, frees it; combining
// identical pages works on what stays in use.
extern const std::array<TMemoryArea, 7> kRunOrder;

// Everything but fill and the working sets of the user's own programs is
// system-wide: it needs an administrator's rights, and a 64-bit Windows takes
// its calls whole only from a 64-bit program (a 32-bit one passes the file
// cache's sizes in 32 bits and the page-combining call's structure in its
// 32-bit layout).
bool AreaIsSystemWide(TMemoryArea area) noexcept;

struct TWindowsVersion {
    unsigned Major = 0, Minor = 0, Build = 0;
};
// The memory lists came with Windows Vista (6.0), page combining with
// Windows 10; the file cache's limits with Windows Server 2003 (5.2).
bool AreaAvailableOn(TMemoryArea area, const TWindowsVersion& windows) noexcept;

// Where a run is planned: the rights held, the Windows version, and whether
// this is the 32-bit program on a 64-bit Windows.
struct TRunPlace {
    bool Elevated = false;
    TWindowsVersion Windows;
    bool Wow64 = false;
};

enum class TStepPlan : std::uint8_t { spRun, spSkipRights, spSkip64Bit, spSkipWindows };
struct TPlannedStep {
    TMemoryArea Area;
    TStepPlan Plan;
};
// Whether one area can run here, or the first reason it cannot, in this
// order: the rights, then the 64-bit program, then the Windows version. The
// reasons the user can do something about come first.
TStepPlan AreaPlan(TMemoryArea area, const TRunPlace& place) noexcept;
// The chosen areas in run order, each planned by AreaPlan.
std::vector<TPlannedStep> PlanRun(std::uint32_t areas, const TRunPlace& place);

enum class TStepOutcome : std::uint8_t { soDone, soSkippedRights, soSkipped64Bit, soSkippedWindows, soFailed };
struct TAreaResult {
    TMemoryArea Area = TMemoryArea::maFill;
    TStepOutcome Outcome = TStepOutcome::soDone;
    std::int64_t RiseBytes = 0;  // free physical memory after the step minus before (soDone)
    std::uint32_t Error = 0;     // Windows error code (soFailed)
    bool HasProcesses = false;   // workingsets: the counts below apply
    std::uint32_t Trimmed = 0, Seen = 0;
};

// The history's areas field: "workingsets=+212.4(41/57) filecache=skipped-rights
// fill=+380.0", one NAME=RESULT per step in order, separated by single spaces.
// RESULT is the rise in MB (1,048,576 bytes) with a sign and one decimal (a
// rise that rounds to zero is "+0.0"), then for workingsets "(trimmed/seen)";
// or "skipped-rights", "skipped-bitness" (the 32-bit program on a 64-bit
// Windows), "skipped-windows", "failed-CODE" (decimal).
std::string FormatAreaResults(const std::vector<TAreaResult>& results);
// The areas Windows refused, in run order; none when every step ran or was
// skipped.
std::vector<TMemoryArea> RefusedAreas(const std::vector<TAreaResult>& results);
