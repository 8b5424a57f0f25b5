// The memory areas a run can free, and the plan of one run. Platform-free:
// the window hands in the user's choice, the rights held and the Windows
// version; engine/memoryrun.* runs the plan, and engine/systemmemory.* makes
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

// Everything but fill and the working sets of the user's own programs needs
// an administrator's rights.
bool AreaNeedsElevation(TMemoryArea area) noexcept;

struct TWindowsVersion {
    unsigned Major = 0, Minor = 0, Build = 0;
};
// The memory lists came with Windows Vista (6.0), page combining with
// Windows 10; the file cache's limits with Windows Server 2003 (5.2).
bool AreaAvailableOn(TMemoryArea area, const TWindowsVersion& windows) noexcept;

enum class TStepPlan : std::uint8_t { spRun, spSkipRights, spSkipWindows };
struct TPlannedStep {
    TMemoryArea Area;
    TStepPlan Plan;
};
// The chosen areas in run order. Rights are judged first: an area that needs
// rights the process lacks is spSkipRights even where this Windows lacks it
// too, because rights are what the user can change. An area this Windows
// lacks is spSkipWindows.
std::vector<TPlannedStep> PlanRun(std::uint32_t areas, bool elevated, const TWindowsVersion& windows);

enum class TStepOutcome : std::uint8_t { soDone, soSkippedRights, soSkippedWindows, soFailed };
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
// or "skipped-rights", "skipped-windows", "failed-CODE" (decimal).
std::string FormatAreaResults(const std::vector<TAreaResult>& results);
bool AnyAreaFailed(const std::vector<TAreaResult>& results) noexcept;
