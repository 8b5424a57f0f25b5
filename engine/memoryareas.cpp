#include "engine/memoryareas.h"

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

bool AreaIsSystemWide(TMemoryArea area) noexcept
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

TStepPlan AreaPlan(TMemoryArea area, const TRunPlace& place) noexcept
{
    if (AreaIsSystemWide(area) && !place.Elevated) return TStepPlan::spSkipRights;
    if (AreaIsSystemWide(area) && place.Wow64) return TStepPlan::spSkip64Bit;
    if (!AreaAvailableOn(area, place.Windows)) return TStepPlan::spSkipWindows;
    return TStepPlan::spRun;
}

std::vector<TPlannedStep> PlanRun(std::uint32_t areas, const TRunPlace& place)
{
    std::vector<TPlannedStep> plan;
    for (TMemoryArea area : kRunOrder)
        if ((areas & AreaBit(area)) != 0) plan.push_back({area, AreaPlan(area, place)});
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
        case TStepOutcome::soSkipped64Bit:
            text += "skipped-bitness";
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

std::vector<TMemoryArea> RefusedAreas(const std::vector<TAreaResult>& results)
{
    std::vector<TMemoryArea> refused;
    for (const TAreaResult& r : results)
        if (r.Outcome == TStepOutcome::soFailed) refused.push_back(r.Area);
    return refused;
}
