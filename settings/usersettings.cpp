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

std::optional<TWindowPlace> ReadDetailsPlace()
{
    const TSettingsStore& store = SettingsStore();
    const auto left = store.Number(kDetailsLeftValue), top = store.Number(kDetailsTopValue);
    const auto width = store.Number(kDetailsWidthValue), height = store.Number(kDetailsHeightValue);
    // Signed pixels kept as their 32 bits; a size no window has means the
    // values are not this program's.
    constexpr std::uint32_t kLargest = 16384;
    if (!left || !top || !width || !height || *width == 0 || *height == 0 || *width > kLargest || *height > kLargest)
        return std::nullopt;
    return TWindowPlace{static_cast<std::int32_t>(*left), static_cast<std::int32_t>(*top),
                        static_cast<std::int32_t>(*width), static_cast<std::int32_t>(*height)};
}

void WriteDetailsPlace(const TWindowPlace& place)
{
    auto bits = [](std::int32_t value) { return static_cast<std::uint32_t>(value); };
    SettingsStore().Write({{kDetailsLeftValue, bits(place.Left)},
                           {kDetailsTopValue, bits(place.Top)},
                           {kDetailsWidthValue, bits(place.Width)},
                           {kDetailsHeightValue, bits(place.Height)}});
}
