// How physical memory divides into in use, modified, standby and free, from
// the system's memory lists and the memory status. Platform-free: the lists
// are read behind the memory boundary (engine/memorydivisionreading.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/memfigures.h"

// Where the lists came from. The counters give standby only as a sum; with
// neither, only in use and available are known.
enum class TDivisionSource : std::uint8_t { dsMemoryLists, dsCounters, dsNone };

inline constexpr std::size_t kStandbyPriorities = 8;

// The lists as read, in bytes.
struct TMemoryListReading {
    TDivisionSource Source = TDivisionSource::dsNone;
    std::uint64_t FreeBytes = 0;      // free and zeroed
    std::uint64_t ModifiedBytes = 0;  // modified and modified-no-write
    std::uint64_t StandbyBytes = 0;   // from the counters; the lists' is their priorities' sum
    // Priority 0 (repurposed first) to 7. From the memory lists only; the
    // counters give no split, and they stay zero.
    std::array<std::uint64_t, kStandbyPriorities> StandbyByPriority{};
};

struct TMemoryDivision {
    TDivisionSource Source = TDivisionSource::dsNone;
    std::uint64_t TotalBytes = 0;
    std::uint64_t AvailableBytes = 0;  // never above the total
    // With dsNone only InUse is set (total less available) and the three
    // lists are zero. Otherwise the four parts add up to the total.
    std::uint64_t InUseBytes = 0;
    std::uint64_t ModifiedBytes = 0;
    std::uint64_t StandbyBytes = 0;
    std::uint64_t FreeBytes = 0;
    // Adds up to StandbyBytes with dsMemoryLists; all zero otherwise.
    std::array<std::uint64_t, kStandbyPriorities> StandbyByPriority{};
    // The lists added up to more than the total and were cut back to it.
    bool Clamped = false;

    bool Divided() const noexcept { return Source != TDivisionSource::dsNone; }
};

// The total and available memory are the status's; in use is what the lists
// leave of the total. The lists and the total are read at different moments
// (and a reading may be wrong), so the lists can add up to more than the
// total: then in use is zero and the lists are cut back to the total, free
// kept first, then standby, then modified, as free and standby make up what
// Windows calls available; standby's priorities are cut from the lowest up,
// the order in which Windows hands them out again.
TMemoryDivision DivideMemory(const TMemoryStatus& status, const TMemoryListReading& lists);
