// The settings kept between runs, in the settings store: numbers and one
// list of names, beside the autorun flag.
#pragma once

#include <string_view>

#include "settings/settingsstore.h"
#include "settings/storedsettings.h"

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

// Writes the settings' values and nothing else, as the store writes
// (settings/settingsstore.h).
void WriteUserSettings(const TUserSettings& settings);
