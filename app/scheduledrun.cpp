#include "app/scheduledrun.h"

#include "engine/mem.h"
#include "settings/usersettings.h"

int RunScheduledOptimize(TMem& engine) noexcept
{
    try {
        const std::int32_t maximum = RamToFreeMaximum(engine.ReadStatus(), TMem::BlockSize);
        const std::int32_t count = RamToFreeFromStore(ReadStoredSettings().RamToFree, maximum / 2, 1, maximum);
        engine.ReleaseMemory(count);
        return kScheduledRunDone;
    } catch (...) {
        // Nobody watches a scheduled run: the exit code is the report.
        return kScheduledRunFailed;
    }
}
