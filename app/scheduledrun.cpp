#include "app/scheduledrun.h"

#include "app/recordedrun.h"
#include "engine/mem.h"
#include "settings/runhistory.h"
#include "settings/usersettings.h"

int RunScheduledOptimize(TMem& engine) noexcept
{
    try {
        const std::int32_t maximum = RamToFreeMaximum(engine.ReadStatus(), TMem::BlockSize);
        const std::int32_t count = RamToFreeFromStore(ReadStoredSettings().RamToFree, maximum / 2, 1, maximum);
        RecordedRelease(engine, TRunTrigger::rtScheduled, count, [](const TRunRecord& run) {
            // Nobody is there to be told that the history could not be
            // written; the run counts all the same.
            try {
                AppendRunHistory(RunHistoryPath(), run);
            } catch (...) {
            }
        });
        return kScheduledRunDone;
    } catch (...) {
        // Nobody watches a scheduled run: the exit code is the report.
        return kScheduledRunFailed;
    }
}
