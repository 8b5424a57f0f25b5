#include "app/recordedrun.h"

#include <windows.h>

#include "engine/mem.h"
#include "engine/memoryrun.h"
#include "settings/runhistory.h"
#include "toolkit/errors.h"

TRecordedRun RecordedRun(TMem& engine, TRunTrigger trigger, std::int32_t count, const TRunChoice& choice,
                         const TRunRecordSink& record)
{
    TRecordedRun recorded;
    TRunRecord& run = recorded.Record;
    run.Start = LocalTimeNow();
    run.Trigger = trigger;
    run.AskedMB = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    run.FreeBeforeBytes = engine.ReadStatus().AvailPhys;
    const ULONGLONG started = GetTickCount64();

    TAreaRunOptions options;
    options.Excluded = choice.Excluded;
    options.Elevated = choice.Place.Elevated;
    options.OnStep = choice.OnStep;
    options.SystemCall = choice.SystemCall;
    const TAreaRun areas = RunMemoryAreas(engine, PlanRun(choice.Areas, choice.Place), count, options);

    run.FreeAfterBytes = engine.ReadStatus().AvailPhys;
    run.Milliseconds = GetTickCount64() - started;
    recorded.Refused = RefusedAreas(areas.Results);
    run.Result = areas.OutOfMemory         ? TRunResult::rrOutOfMemory
                 : recorded.Refused.empty() ? TRunResult::rrOk
                                            : TRunResult::rrAreaFailed;
    run.Areas = FormatAreaResults(areas.Results);
    record(run);
    // Told as before: a run that ran out of memory failed.
    if (areas.OutOfMemory) throw EOutOfMemory();
    return recorded;
}
