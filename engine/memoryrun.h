// Runs the plan of a run: each memory area in turn, measured by the free
// physical memory before and after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/mem.h"
#include "engine/memoryareas.h"
#include "engine/systemmemory.h"

struct TAreaRunOptions {
    std::vector<std::wstring> Excluded;  // image names the working-set step leaves alone
    bool Elevated = false;
    // Before each planned step that runs: step counts from 0 among the steps
    // that run, of steps.
    std::function<void(std::size_t step, std::size_t steps)> OnStep;
    // Makes a system-wide area's call in place of Windows; empty: Windows'
    // own. Wine answers them all, so a test is Windows refusing one here.
    std::function<TStepCall(TMemoryArea area)> SystemCall;
};

struct TAreaRun {
    std::vector<TAreaResult> Results;
    bool OutOfMemory = false;
};

// Every step of the plan in order, each measured by engine.ReadStatus().AvailPhys
// before and after it. A skipped step is recorded as skipped, and a step that
// fails does not stop the ones after it: fill running out of memory is
// fill=failed-8 (ERROR_NOT_ENOUGH_MEMORY) with OutOfMemory set. Only what
// engine.ProcessMessages or OnStep raise leaves; a negative fillCount raises
// ERangeError before any step runs. The working-set step pumps messages
// through engine.ProcessMessages after each process.
TAreaRun RunMemoryAreas(TMem& engine, const std::vector<TPlannedStep>& plan, std::int32_t fillCount,
                        const TAreaRunOptions& options);
