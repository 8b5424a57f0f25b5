#include "app/scheduledrun.h"

#include "app/recordedrun.h"
#include "engine/mem.h"
#include "engine/systemmemory.h"
#include "settings/runhistory.h"
#include "settings/usersettings.h"

int RunScheduledOptimize(TMem& engine) noexcept
{
    try {
        const std::int32_t maximum = RamToFreeMaximum(engine.ReadStatus(), TMem::BlockSize);
        const TStoredSettings stored = ReadStoredSettings();
        TUserSettings defaults;
        defaults.RamToFree = maximum / 2;
        const TUserSettings settings = SettingsFromStore(stored, defaults, 1, maximum);
        TRunChoice choice;
        choice.Areas = settings.MemoryAreas;
        choice.Excluded = settings.TrimExclude;
        choice.Place = RunningPlace();
        const TRecordedRun run =
            RecordedRun(engine, TRunTrigger::rtScheduled, settings.RamToFree, choice, [](const TRunRecord& record) {
                // Nobody is there to be told that the history could not be
                // written; the run counts all the same.
                try {
                    AppendRunHistory(RunHistoryPath(), record);
                } catch (...) {
                }
            });
        return run.Refused.empty() ? kScheduledRunDone : kScheduledRunFailed;
    } catch (...) {
        // Nobody watches a scheduled run: the exit code is the report.
        return kScheduledRunFailed;
    }
}
