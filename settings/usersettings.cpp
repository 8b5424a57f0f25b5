#include "settings/usersettings.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/oserror.h"
#include "toolkit/registry.h"

namespace {

std::optional<std::uint32_t> ReadDword(HKEY key, std::wstring_view name)
{
    // Room for more than a DWORD, so that a larger value reads as the wrong
    // size instead of failing for the buffer.
    std::uint8_t data[8] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    const std::wstring valueName(name);
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return StoredDword(type, data, size);
}

std::optional<std::vector<std::wstring>> ReadNameList(HKEY key, std::wstring_view name)
{
    const std::wstring valueName(name);
    DWORD size = 0;
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    // A value far larger than any list of ours is not one: never read whole.
    if (size > (kMaxTrimExclude + 1) * 261 * sizeof(wchar_t)) return std::nullopt;
    std::vector<std::uint8_t> data(size);
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return StoredNameList(type, data.data(), std::min<std::size_t>(size, data.size()));
}

} // namespace

TStoredSettings ReadStoredSettings()
{
    try {
        TRegistry reg(KEY_QUERY_VALUE);
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKey(kUserSettingsKey, false)) return {};
        const HKEY key = reg.CurrentKey();
        TStoredSettings stored;
        stored.RamToFree = ReadDword(key, kRamToFreeValue);
        stored.AlarmLevel = ReadDword(key, kAlarmLevelValue);
        stored.AutoOptimize = ReadDword(key, kAutoOptimizeValue);
        stored.RefreshPeriod = ReadDword(key, kRefreshPeriodValue);
        stored.TrayShowsFree = ReadDword(key, kTrayShowsFreeValue);
        stored.OptimizeHotkey = ReadDword(key, kOptimizeHotkeyValue);
        stored.MemoryAreas = ReadDword(key, kMemoryAreasValue);
        stored.IntervalMinutes = ReadDword(key, kIntervalMinutesValue);
        stored.TrimExclude = ReadNameList(key, kTrimExcludeValue);
        return stored;
    } catch (...) {
        return {};
    }
}

void WriteUserSettings(const TUserSettings& settings)
{
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(L"\\" + std::wstring(kUserSettingsKey), true)) RaiseLastOSError();
    reg.WriteInteger(kRamToFreeValue, settings.RamToFree);
    reg.WriteInteger(kAlarmLevelValue, settings.AlarmLevel);
    reg.WriteInteger(kAutoOptimizeValue, settings.AutoOptimize ? 1 : 0);
    reg.WriteInteger(kRefreshPeriodValue, settings.RefreshPeriod);
    reg.WriteInteger(kTrayShowsFreeValue, settings.TrayShowsFree ? 1 : 0);
    reg.WriteInteger(kOptimizeHotkeyValue, settings.OptimizeHotkey);
    reg.WriteInteger(kMemoryAreasValue, static_cast<std::int32_t>(settings.MemoryAreas));
    reg.WriteInteger(kIntervalMinutesValue, static_cast<std::int32_t>(settings.IntervalMinutes));
    const std::vector<std::uint8_t> names = NameListBytes(settings.TrimExclude);
    reg.WriteMultiString(kTrimExcludeValue, names.data(), static_cast<DWORD>(names.size()));
}
