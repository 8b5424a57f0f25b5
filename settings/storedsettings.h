// The settings kept per user between runs, and the rules that turn what the
// registry holds into values the window can use. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The registry's type number of a 32-bit little-endian integer (REG_DWORD).
inline constexpr std::uint32_t kStoredDwordType = 4;

// Ctrl+Alt+Shift+F8: no shortcut of Windows or of the common office
// programs. A function key, because Ctrl+Alt with a letter is AltGr on many
// keyboard layouts and types a character there; not F12, which Windows keeps
// for debuggers.
inline constexpr std::uint16_t kDefaultOptimizeHotkey = 0x0777;

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
};

// Bounds of the stored numbers; anything outside means the value was not
// written by this program and the setting's default applies. A refresh of 0
// (ticks stopped) is not restored: a copy started with Windows would never
// update its monitor nor raise its alarm.
inline constexpr std::uint32_t kMaxAlarmLevel = 1'048'576;  // 1 TiB in megabytes
inline constexpr std::uint32_t kMinRefreshPeriod = 1;
inline constexpr std::uint32_t kMaxRefreshPeriod = 3'600;

// The number a stored value holds, from its registry type and raw bytes.
std::optional<std::uint32_t> StoredDword(std::uint32_t type, const std::uint8_t* data, std::size_t size);

// The amount to free, held to the slider's range [minimum, maximum]; the
// default when nothing usable is stored.
std::int32_t RamToFreeFromStore(std::optional<std::uint32_t> stored, std::int32_t fallback, std::int32_t minimum,
                                std::int32_t maximum);

// Every setting from the store, each falling back to its own default.
TUserSettings SettingsFromStore(const TStoredSettings& stored, const TUserSettings& defaults, std::int32_t ramMinimum,
                                std::int32_t ramMaximum);
