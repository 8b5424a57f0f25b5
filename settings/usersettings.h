// The settings kept between runs, in the settings store: numbers and one
// list of names, beside the autorun flag.
#pragma once

#include <cstdint>
#include <optional>
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
inline constexpr std::wstring_view kDetailsLeftValue = L"DetailsLeft";
inline constexpr std::wstring_view kDetailsTopValue = L"DetailsTop";
inline constexpr std::wstring_view kDetailsWidthValue = L"DetailsWidth";
inline constexpr std::wstring_view kDetailsHeightValue = L"DetailsHeight";

// What the store holds. Never raises: a missing key, a missing value and a
// value of the wrong type or size all read as nothing stored.
TStoredSettings ReadStoredSettings();

// Writes the settings' values and nothing else, as the store writes
// (settings/settingsstore.h).
void WriteUserSettings(const TUserSettings& settings);

// The memory window's place on the screen (pixels, negative left of or
// above the first monitor) and its client size in design units.
struct TWindowPlace {
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
// Nothing unless all four are kept and the size is a window's.
std::optional<TWindowPlace> ReadDetailsPlace();
void WriteDetailsPlace(const TWindowPlace& place);
