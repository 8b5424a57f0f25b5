#include "engine/memorydivision.h"

#include <algorithm>

namespace {

// Takes up to wanted from left, which it lowers by what it took.
std::uint64_t Take(std::uint64_t wanted, std::uint64_t& left) noexcept
{
    const std::uint64_t taken = std::min(wanted, left);
    left -= taken;
    return taken;
}

} // namespace

TMemoryDivision DivideMemory(const TMemoryStatus& status, const TMemoryListReading& lists)
{
    TMemoryDivision d;
    d.Source = lists.Source;
    d.TotalBytes = status.TotalPhys;
    d.AvailableBytes = std::min(status.AvailPhys, status.TotalPhys);
    if (!d.Divided()) {
        d.InUseBytes = d.TotalBytes - d.AvailableBytes;
        return d;
    }
    // With the memory lists the priorities are the standby list, and their
    // sum stands for it; each is capped so that the sum cannot wrap.
    std::uint64_t standby = lists.StandbyBytes;
    bool capped = false;
    if (d.Source == TDivisionSource::dsMemoryLists) {
        standby = 0;
        for (std::uint64_t bytes : lists.StandbyByPriority) {
            capped = capped || bytes > d.TotalBytes;
            standby += std::min(bytes, d.TotalBytes);
        }
    }
    std::uint64_t left = d.TotalBytes;
    d.FreeBytes = Take(lists.FreeBytes, left);
    d.StandbyBytes = Take(standby, left);
    d.ModifiedBytes = Take(lists.ModifiedBytes, left);
    d.InUseBytes = left;
    d.Clamped = capped || d.FreeBytes < lists.FreeBytes || d.StandbyBytes < standby
                || d.ModifiedBytes < lists.ModifiedBytes;
    if (d.Source == TDivisionSource::dsMemoryLists) {
        std::uint64_t cut = standby - d.StandbyBytes;
        for (std::size_t p = 0; p < kStandbyPriorities; ++p) {
            const std::uint64_t read = std::min(lists.StandbyByPriority[p], d.TotalBytes);
            d.StandbyByPriority[p] = read - Take(read, cut);
        }
    }
    return d;
}
