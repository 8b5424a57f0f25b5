// A run with its line in the run history: the memory areas chosen, each
// step measured, timed, its free memory read before and after, and written
// down however it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/memoryareas.h"
#include "engine/systemmemory.h"
#include "settings/historyformat.h"

class TMem;

using TRunRecordSink = std::function<void(const TRunRecord& record)>;

// What a run frees, and where: with which rights, on which Windows, from
// which program. Nothing chosen: the fill alone.
struct TRunChoice {
    std::uint32_t Areas = kDefaultAreas;
    std::vector<std::wstring> Excluded;  // image names never trimmed
    TRunPlace Place;
    // Before each step that runs: its number from 0, and how many run.
    std::function<void(std::size_t step, std::size_t steps)> OnStep;
    // In place of Windows' own calls for the system-wide areas (a test).
    std::function<TStepCall(TMemoryArea area)> SystemCall;
};

struct TRecordedRun {
    TRunRecord Record;
    // The areas Windows refused, in run order; the others ran.
    std::vector<TMemoryArea> Refused;
};

// Runs the chosen areas in their order, count blocks for the fill, and hands
// the run's record to record. When the fill ran out of memory, the other
// steps still run and EOutOfMemory leaves after the record.
TRecordedRun RecordedRun(TMem& engine, TRunTrigger trigger, std::int32_t count, const TRunChoice& choice,
                         const TRunRecordSink& record);
