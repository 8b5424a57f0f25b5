#include "settings/storedsettings.h"

#include <algorithm>

#include "toolkit/hotkeycode.h"

namespace {

std::optional<std::int32_t> InRange(std::optional<std::uint32_t> stored, std::uint32_t minimum, std::uint32_t maximum)
{
    if (!stored || *stored < minimum || *stored > maximum) return std::nullopt;
    return static_cast<std::int32_t>(*stored);
}

} // namespace

std::optional<std::uint32_t> StoredDword(std::uint32_t type, const std::uint8_t* data, std::size_t size)
{
    if (type != kStoredDwordType || size != 4 || data == nullptr) return std::nullopt;
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8
           | static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

std::int32_t RamToFreeFromStore(std::optional<std::uint32_t> stored, std::int32_t fallback, std::int32_t minimum,
                                std::int32_t maximum)
{
    if (!stored) return fallback;
    // A DWORD is unsigned: a value the program wrote from a negative slider
    // position cannot exist, so a huge one is just more than the range holds.
    // Written without std::clamp: a machine too small for any block gives a
    // maximum below the minimum, and the minimum wins as on the slider.
    const std::int64_t value = std::max<std::int64_t>(std::min<std::int64_t>(*stored, maximum), minimum);
    return static_cast<std::int32_t>(value);
}

TUserSettings SettingsFromStore(const TStoredSettings& stored, const TUserSettings& defaults, std::int32_t ramMinimum,
                                std::int32_t ramMaximum)
{
    TUserSettings s;
    s.RamToFree = RamToFreeFromStore(stored.RamToFree, defaults.RamToFree, ramMinimum, ramMaximum);
    s.AlarmLevel = InRange(stored.AlarmLevel, 0, kMaxAlarmLevel).value_or(defaults.AlarmLevel);
    const auto autoOptimize = InRange(stored.AutoOptimize, 0, 1);
    s.AutoOptimize = autoOptimize ? *autoOptimize == 1 : defaults.AutoOptimize;
    s.RefreshPeriod = InRange(stored.RefreshPeriod, kMinRefreshPeriod, kMaxRefreshPeriod).value_or(defaults.RefreshPeriod);
    const auto trayShowsFree = InRange(stored.TrayShowsFree, 0, 1);
    s.TrayShowsFree = trayShowsFree ? *trayShowsFree == 1 : defaults.TrayShowsFree;
    s.OptimizeHotkey = stored.OptimizeHotkey && IsUsableHotkey(*stored.OptimizeHotkey)
                           ? static_cast<std::uint16_t>(*stored.OptimizeHotkey)
                           : defaults.OptimizeHotkey;
    return s;
}
