#include "engine/memoryrun.h"

#include <windows.h>

#include <algorithm>

#include "engine/systemmemory.h"
#include "toolkit/errors.h"

namespace {

TStepCall RunStep(TMem& engine, TMemoryArea area, std::int32_t fillCount, const TAreaRunOptions& options,
                  bool& outOfMemory)
{
    if (options.SystemCall && AreaIsSystemWide(area)) return options.SystemCall(area);
    switch (area) {
    case TMemoryArea::maFill:
        try {
            engine.ReleaseMemory(fillCount);
        } catch (const EOutOfMemory&) {
            outOfMemory = true;
            return {TStepOutcome::soFailed, ERROR_NOT_ENOUGH_MEMORY};
        }
        return {};
    case TMemoryArea::maWorkingSets: {
        std::vector<TProcessEntry> processes;
        try {
            processes = RunningProcesses();
        } catch (const EOSError& e) {
            return {TStepOutcome::soFailed, e.ErrorCode()};
        }
        // A copy: a handler run from the pump may rebind the engine's call.
        const std::function<void()> pump = engine.ProcessMessages;
        return TrimWorkingSets(processes, options.Excluded, options.Elevated, pump);
    }
    case TMemoryArea::maFileCache:
        return PurgeSystemFileCache();
    case TMemoryArea::maModified:
        return RunMemoryListCommand(TMemoryListCommand::mlFlushModified);
    case TMemoryArea::maStandbyLow:
        return RunMemoryListCommand(TMemoryListCommand::mlPurgeLowPriorityStandby);
    case TMemoryArea::maStandby:
        return RunMemoryListCommand(TMemoryListCommand::mlPurgeStandby);
    case TMemoryArea::maCombine:
        return CombineMemoryPages();
    }
    return {TStepOutcome::soFailed, ERROR_INVALID_PARAMETER};
}

} // namespace

TAreaRun RunMemoryAreas(TMem& engine, const std::vector<TPlannedStep>& plan, std::int32_t fillCount,
                        const TAreaRunOptions& options)
{
    if (fillCount < 0) throw ERangeError();
    const auto steps = static_cast<std::size_t>(
        std::count_if(plan.begin(), plan.end(), [](const TPlannedStep& s) { return s.Plan == TStepPlan::spRun; }));
    TAreaRun run;
    std::size_t step = 0;
    for (const TPlannedStep& planned : plan) {
        TAreaResult result;
        result.Area = planned.Area;
        if (planned.Plan != TStepPlan::spRun) {
            result.Outcome = planned.Plan == TStepPlan::spSkipRights  ? TStepOutcome::soSkippedRights
                             : planned.Plan == TStepPlan::spSkip64Bit ? TStepOutcome::soSkipped64Bit
                                                                      : TStepOutcome::soSkippedWindows;
            run.Results.push_back(result);
            continue;
        }
        if (options.OnStep) options.OnStep(step, steps);
        ++step;
        const std::uint64_t before = engine.ReadStatus().AvailPhys;
        const TStepCall call = RunStep(engine, planned.Area, fillCount, options, run.OutOfMemory);
        const std::uint64_t after = engine.ReadStatus().AvailPhys;
        result.Outcome = call.Outcome;
        result.Error = call.Error;
        if (call.Outcome == TStepOutcome::soDone)
            result.RiseBytes = static_cast<std::int64_t>(after) - static_cast<std::int64_t>(before);
        if (planned.Area == TMemoryArea::maWorkingSets && call.Outcome == TStepOutcome::soDone) {
            result.HasProcesses = true;
            result.Trimmed = call.Trimmed;
            result.Seen = call.Seen;
        }
        run.Results.push_back(result);
    }
    return run;
}
