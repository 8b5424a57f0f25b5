// The settings kept per user between runs, and the rules that turn what the
// registry holds into values the window can use. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


// The registry's type number of a 32-bit little-endian integer (REG_DWORD).
inline constexpr std::uint32_t kStoredDwordType = 4;
// ... and of a list of strings (REG_MULTI_SZ).
inline constexpr std::uint32_t kStoredMultiStringType = 7;

// Ctrl+Alt+Shift+F8: no shortcut of Windows or of the common office
// programs. A function key, because Ctrl+Alt with a letter is AltGr on many
// keyboard layouts and types a character there; not F12, which Windows keeps
// for debuggers.
inline constexpr std::uint16_t kDefaultOptimizeHotkey = 0x0777;

// The memory areas' bits this program knows (the engine's, checked where the
// two meet), and the one a run takes when nothing is chosen: the fill.
inline constexpr std::uint32_t kStoredAreasMask = 0x7F;
inline constexpr std::uint32_t kStoredDefaultAreas = 1;

// The settings as the window uses them.
struct TUserSettings {
    std::int32_t RamToFree = 0;      // megabytes, the amount a run frees
    std::int32_t AlarmLevel = 0;     // megabytes; 0 never starts a run
    bool AutoOptimize = false;
    std::int32_t RefreshPeriod = 1;  // seconds between two readings
    bool TrayShowsFree = true;       // the tray icon shows the free percentage
    // The key combination that starts a run from anywhere, as the hotkey
    // control holds it (toolkit/hotkeycode.h); 0: none.
    std::uint16_t OptimizeHotkey = kDefaultOptimizeHotkey;
    // The memory areas a run frees, a bit each (engine/memoryareas.h).
    std::uint32_t MemoryAreas = kStoredDefaultAreas;
    // Minutes between runs on the interval; 0: none.
    std::uint32_t IntervalMinutes = 0;
    // Image names ("obs64.exe") whose working sets are never trimmed.
    std::vector<std::wstring> TrimExclude{};
};

// What the registry holds for each setting: a number only when the value is
// a REG_DWORD of exactly four bytes; nothing when it is missing or malformed.
struct TStoredSettings {
    std::optional<std::uint32_t> RamToFree;
    std::optional<std::uint32_t> AlarmLevel;
    std::optional<std::uint32_t> AutoOptimize;
    std::optional<std::uint32_t> RefreshPeriod;
    std::optional<std::uint32_t> TrayShowsFree;
    std::optional<std::uint32_t> OptimizeHotkey;
    std::optional<std::uint32_t> MemoryAreas;
    std::optional<std::uint32_t> IntervalMinutes;
    std::optional<std::vector<std::wstring>> TrimExclude;
};

// Bounds of the stored numbers; anything outside means the value was not
// written by this program and the setting's default applies. A refresh of 0
// (ticks stopped) is not restored: a copy started with Windows would never
// update its monitor nor raise its alarm.
inline constexpr std::uint32_t kMaxAlarmLevel = 1'048'576;  // 1 TiB in megabytes
inline constexpr std::uint32_t kMinRefreshPeriod = 1;
inline constexpr std::uint32_t kMaxRefreshPeriod = 3'600;
// Minutes between runs on the interval: 0 (none), or 5 to a day.
inline constexpr std::uint32_t kMinIntervalMinutes = 5;
inline constexpr std::uint32_t kMaxIntervalMinutes = 1'440;

// The number a stored value holds, from its registry type and raw bytes.
std::optional<std::uint32_t> StoredDword(std::uint32_t type, const std::uint8_t* data, std::size_t size);

// The image names never trimmed, in their two stored forms. Each name is
// read alone: the spaces around it dropped, a path (quoted, as Explorer's
// "Copy as path" gives it, or not) cut to its file name, and a name that is
// still no image name (empty, too long, a character Windows refuses in a
// file name) dropped alone; at most the first kMaxTrimExclude are kept.
inline constexpr std::size_t kMaxTrimExclude = 256;

// The text form the field shows and a portable copy's settings file keeps:
// names separated by ";" or ",". Written "obs64.exe; game.exe".
std::vector<std::wstring> NamesFromText(std::wstring_view text);
std::wstring NamesToText(const std::vector<std::wstring>& names);

// The registry's REG_MULTI_SZ: UTF-16LE strings, each ended by a zero, the
// list by one more. Nothing for another type, an odd size, a name not ended
// or text after the list's end.
std::optional<std::vector<std::wstring>> NamesFromMultiString(std::uint32_t type, const std::uint8_t* data,
                                                             std::size_t size);
std::vector<std::uint8_t> NamesToMultiString(const std::vector<std::wstring>& names);

// A number in decimal digits alone that fits in 32 bits, as the settings
// file beside a portable copy and the program's own command line write one;
// nothing for any other text.
std::optional<std::uint32_t> DecimalNumberFromText(std::wstring_view text);

// The interval as the user typed it, kept: none at 0 or below, at least five
// minutes, at most a day.
std::uint32_t IntervalFromShown(std::int32_t minutes) noexcept;

// The amount to free, held to the slider's range [minimum, maximum]; the
// default when nothing usable is stored.
std::int32_t RamToFreeFromStore(std::optional<std::uint32_t> stored, std::int32_t fallback, std::int32_t minimum,
                                std::int32_t maximum);

// Every setting from the store, each falling back to its own default.
TUserSettings SettingsFromStore(const TStoredSettings& stored, const TUserSettings& defaults, std::int32_t ramMinimum,
                                std::int32_t ramMaximum);
