// What a run did to memory and how long its gain lasted, as the samples saw
// it. Platform-free: the window takes the runs from the history.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/memorysamples.h"

// A run in seconds since 1970-01-01 UTC.
struct TRunMoment {
    std::int64_t Start = 0;  // as the history keeps it, in whole seconds
    // The last second the run may still have been going: Start plus its
    // length rounded up. A reading taken during a run sees the memory it
    // holds, so only readings after End count as after it.
    std::int64_t End = 0;
    std::uint64_t AvailableBeforeBytes = 0;  // the history's figure before the run
};

// Start and End from the history's start and length.
TRunMoment RunMoment(std::int64_t startSeconds, std::uint64_t milliseconds, std::uint64_t availableBeforeBytes) noexcept;

enum class TRefillState : std::uint8_t {
    rfUnknown,       // the samples do not reach back to the run
    rfRefilled,      // available memory was back to its level before the run
    rfNotYet,        // it has not been yet
    rfCutByLaterRun  // another run came first, so the gain was cut short by it
};

struct TRefill {
    TRefillState State = TRefillState::rfUnknown;
    // From the run's end: rfRefilled, to the first sample back at the level;
    // rfNotYet, to now; rfCutByLaterRun, to the later run's start.
    std::int64_t Seconds = 0;
};

// laterRunStart: the next run's start, if there is one.
TRefill RunRefill(const TMemorySamples& samples, const TRunMoment& run, std::optional<std::int64_t> laterRunStart,
                  std::int64_t now);

// The change of each part from the last sample before the run to the first
// after it, in bytes.
struct TRunChange {
    std::uint32_t BeforeTime = 0, AfterTime = 0;  // the two samples', which the window may judge too far apart
    std::int64_t InUse = 0, Modified = 0, Standby = 0, Free = 0, Available = 0;
};

// Nothing when either sample is missing or does not divide memory.
std::optional<TRunChange> RunChange(const TMemorySamples& samples, const TRunMoment& run);
