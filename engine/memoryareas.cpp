#include "engine/memoryareas.h"

#include <algorithm>

namespace {

constexpr std::string_view kNames[] = {"fill", "workingsets", "filecache", "modified", "standbylow", "standby", "combine"};

bool AtLeast(const TWindowsVersion& windows, unsigned major, unsigned minor) noexcept
{
    return windows.Major > major || (windows.Major == major && windows.Minor >= minor);
}

// Tenths of a MB, rounded half away from zero, with the sign; in unsigned
// parts so that no byte count can overflow.
std::string RiseText(std::int64_t bytes)
{
    constexpr std::uint64_t MB = 1'048'576;
    const bool negative = bytes < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
    const std::uint64_t tenths = magnitude / MB * 10 + (magnitude % MB * 10 + MB / 2) / MB;
    std::string text = negative && tenths != 0 ? "-" : "+";
    text += std::to_string(tenths / 10);
    text += '.';
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

} // namespace

const std::array<TMemoryArea, 7> kRunOrder = {
    TMemoryArea::maWorkingSets, TMemoryArea::maFileCache, TMemoryArea::maFill,   TMemoryArea::maModified,
    TMemoryArea::maStandbyLow,  TMemoryArea::maStandby,   TMemoryArea::maCombine,
};

std::uint32_t AreaBit(TMemoryArea area) noexcept
{
    return std::uint32_t{1} << static_cast<unsigned>(area);
}

std::string_view AreaName(TMemoryArea area) noexcept
{
    const auto i = static_cast<std::size_t>(area);
    return i < std::size(kNames) ? kNames[i] : std::string_view{};
}

bool AreaNeedsElevation(TMemoryArea area) noexcept
{
    return area != TMemoryArea::maFill && area != TMemoryArea::maWorkingSets;
}

bool AreaAvailableOn(TMemoryArea area, const TWindowsVersion& windows) noexcept
{
    switch (area) {
    case TMemoryArea::maFill:
    case TMemoryArea::maWorkingSets:
        return true;
    case TMemoryArea::maFileCache:
        return AtLeast(windows, 5, 2);
    case TMemoryArea::maModified:
    case TMemoryArea::maStandbyLow:
    case TMemoryArea::maStandby:
        return AtLeast(windows, 6, 0);
    case TMemoryArea::maCombine:
        return AtLeast(windows, 10, 0);
    }
    return false;
}

std::vector<TPlannedStep> PlanRun(std::uint32_t areas, bool elevated, const TWindowsVersion& windows)
{
    std::vector<TPlannedStep> plan;
    for (TMemoryArea area : kRunOrder) {
        if ((areas & AreaBit(area)) == 0) continue;
        TStepPlan how = TStepPlan::spRun;
        if (AreaNeedsElevation(area) && !elevated)
            how = TStepPlan::spSkipRights;
        else if (!AreaAvailableOn(area, windows))
            how = TStepPlan::spSkipWindows;
        plan.push_back({area, how});
    }
    return plan;
}

std::string FormatAreaResults(const std::vector<TAreaResult>& results)
{
    std::string text;
    for (const TAreaResult& r : results) {
        if (!text.empty()) text += ' ';
        text += AreaName(r.Area);
        text += '=';
        switch (r.Outcome) {
        case TStepOutcome::soDone:
            text += RiseText(r.RiseBytes);
            if (r.HasProcesses) text += '(' + std::to_string(r.Trimmed) + '/' + std::to_string(r.Seen) + ')';
            break;
        case TStepOutcome::soSkippedRights:
            text += "skipped-rights";
            break;
        case TStepOutcome::soSkippedWindows:
            text += "skipped-windows";
            break;
        case TStepOutcome::soFailed:
            text += "failed-" + std::to_string(r.Error);
            break;
        }
    }
    return text;
}

bool AnyAreaFailed(const std::vector<TAreaResult>& results) noexcept
{
    return std::any_of(results.begin(), results.end(),
                       [](const TAreaResult& r) { return r.Outcome == TStepOutcome::soFailed; });
}
