#include "settings/usersettings.h"

#include "settings/settingsstore.h"

TStoredSettings ReadStoredSettings()
{
    const TSettingsStore& store = SettingsStore();
    TStoredSettings stored;
    stored.RamToFree = store.Number(kRamToFreeValue);
    stored.AlarmLevel = store.Number(kAlarmLevelValue);
    stored.AutoOptimize = store.Number(kAutoOptimizeValue);
    stored.RefreshPeriod = store.Number(kRefreshPeriodValue);
    stored.TrayShowsFree = store.Number(kTrayShowsFreeValue);
    stored.OptimizeHotkey = store.Number(kOptimizeHotkeyValue);
    stored.MemoryAreas = store.Number(kMemoryAreasValue);
    stored.IntervalMinutes = store.Number(kIntervalMinutesValue);
    stored.TrimExclude = store.Names(kTrimExcludeValue);
    return stored;
}

void WriteUserSettings(const TUserSettings& settings)
{
    // The numbers as the registry has always held them: a value below 0
    // (an alarm the spin edit took below it) as its 32 bits.
    auto number = [](std::int32_t value) { return static_cast<std::uint32_t>(value); };
    SettingsStore().Write({
        {kRamToFreeValue, number(settings.RamToFree)},
        {kAlarmLevelValue, number(settings.AlarmLevel)},
        {kAutoOptimizeValue, settings.AutoOptimize ? 1u : 0u},
        {kRefreshPeriodValue, number(settings.RefreshPeriod)},
        {kTrayShowsFreeValue, settings.TrayShowsFree ? 1u : 0u},
        {kOptimizeHotkeyValue, std::uint32_t{settings.OptimizeHotkey}},
        {kMemoryAreasValue, settings.MemoryAreas},
        {kIntervalMinutesValue, settings.IntervalMinutes},
        {kTrimExcludeValue, settings.TrimExclude},
    });
}
