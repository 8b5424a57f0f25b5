#include "settings/usersettings.h"

#include <windows.h>

#include <string>

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
}
