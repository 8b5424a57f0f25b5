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
#include "settings/historyformat.h"

class TMem;

using TRunRecordSink = std::function<void(const TRunRecord& record)>;

// What a run frees and with which rights. Nothing chosen: the fill alone.
struct TRunChoice {
    std::uint32_t Areas = kDefaultAreas;
    std::vector<std::wstring> Excluded;  // image names never trimmed
    bool Elevated = false;
    TWindowsVersion Windows;
    // Before each step that runs: its number from 0, and how many run.
    std::function<void(std::size_t step, std::size_t steps)> OnStep;
};

struct TRecordedRun {
    TRunRecord Record;
    bool AreaFailed = false;  // one step or more failed; the others ran
};

// Runs the chosen areas in their order, count blocks for the fill, and hands
// the run's record to record. When the fill ran out of memory, the other
// steps still run and EOutOfMemory leaves after the record.
TRecordedRun RecordedRun(TMem& engine, TRunTrigger trigger, std::int32_t count, const TRunChoice& choice,
                         const TRunRecordSink& record);
