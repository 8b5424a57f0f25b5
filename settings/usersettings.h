// The settings kept per user between runs: REG_DWORD values and one
// REG_MULTI_SZ beside the autorun flag under HKEY_CURRENT_USER\Software\Quenfel.
#pragma once

#include <string_view>

#include "settings/storedsettings.h"

inline constexpr std::wstring_view kUserSettingsKey = L"Software\\Quenfel";
inline constexpr std::wstring_view kRamToFreeValue = L"RamToFree";
inline constexpr std::wstring_view kAlarmLevelValue = L"AlarmLevel";
inline constexpr std::wstring_view kAutoOptimizeValue = L"AutoOptimize";
inline constexpr std::wstring_view kRefreshPeriodValue = L"RefreshPeriod";
inline constexpr std::wstring_view kTrayShowsFreeValue = L"TrayShowsFree";
inline constexpr std::wstring_view kOptimizeHotkeyValue = L"OptimizeHotkey";
inline constexpr std::wstring_view kMemoryAreasValue = L"MemoryAreas";
inline constexpr std::wstring_view kIntervalMinutesValue = L"IntervalMinutes";
inline constexpr std::wstring_view kTrimExcludeValue = L"TrimExclude";

// What the store holds. Never raises: a missing key, a missing value and a
// value of the wrong type or size all read as nothing stored.
TStoredSettings ReadStoredSettings();

// Writes the settings' values and nothing else, creating the key when missing.
// Raises EOSError when the key cannot be opened for writing and
// ERegistryException when a write is refused.
void WriteUserSettings(const TUserSettings& settings);
