#include "app/recordedrun.h"

#include <windows.h>

#include "engine/mem.h"
#include "settings/runhistory.h"
#include "toolkit/errors.h"

TRunRecord RecordedRelease(TMem& engine, TRunTrigger trigger, std::int32_t count, const TRunRecordSink& record)
{
    TRunRecord run;
    run.Start = LocalTimeNow();
    run.Trigger = trigger;
    run.AskedMB = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    run.FreeBeforeBytes = engine.ReadStatus().AvailPhys;
    const ULONGLONG started = GetTickCount64();
    auto finish = [&](TRunResult result) {
        run.FreeAfterBytes = engine.ReadStatus().AvailPhys;
        run.Milliseconds = GetTickCount64() - started;
        run.Result = result;
        record(run);
    };
    try {
        engine.ReleaseMemory(count);
    } catch (const EOutOfMemory&) {
        finish(TRunResult::rrOutOfMemory);
        throw;
    }
    finish(TRunResult::rrOk);
    return run;
}
