// A hotkey as the system's hotkey control holds it (one WORD: the virtual
// key in the low byte, HOTKEYF_* in the next), and the modifiers
// RegisterHotKey wants for it. Platform-free; the values are Windows' own,
// checked against <windows.h> where the two meet (toolkit/globalhotkey.cpp).
#pragma once

#include <cstdint>

// HOTKEYF_* of the hotkey control.
inline constexpr std::uint8_t kHotkeyShift = 0x01;
inline constexpr std::uint8_t kHotkeyControl = 0x02;
inline constexpr std::uint8_t kHotkeyAlt = 0x04;
inline constexpr std::uint8_t kHotkeyExt = 0x08;
// MOD_* of RegisterHotKey: the same three keys in another order.
inline constexpr std::uint32_t kModAlt = 0x0001;
inline constexpr std::uint32_t kModControl = 0x0002;
inline constexpr std::uint32_t kModShift = 0x0004;
inline constexpr std::uint32_t kModNoRepeat = 0x4000;
// HKCOMB_* of the hotkey control's rules: a bit for each set of modifiers.
inline constexpr std::uint8_t kCombNone = 0x01;
inline constexpr std::uint8_t kCombShift = 0x02;
// The virtual keys the rules below name.
inline constexpr std::uint8_t kVkTab = 0x09;
inline constexpr std::uint8_t kVkEscape = 0x1B;
inline constexpr std::uint8_t kVkSpace = 0x20;
inline constexpr std::uint8_t kVkDelete = 0x2E;
inline constexpr std::uint8_t kVkF4 = 0x73;

constexpr std::uint8_t HotkeyKey(std::uint16_t code) noexcept { return static_cast<std::uint8_t>(code & 0xFF); }
constexpr std::uint8_t HotkeyFlags(std::uint16_t code) noexcept { return static_cast<std::uint8_t>(code >> 8); }

// Whether a number is a hotkey the control could give: 0 (none), or a key
// with Ctrl or Alt held and no flag beyond Shift, Ctrl, Alt and the
// extended-key mark, that is not reserved. A key alone, or with Shift only,
// would take typing away from every other program.
bool IsUsableHotkey(std::uint32_t code) noexcept;

// A combination Windows keeps for itself (Alt+Tab, Ctrl+Alt+Del, …) or that
// every program gives the same meaning (Alt+F4, Ctrl+C, …). Held
// system-wide it would take that meaning away everywhere.
bool IsReservedHotkey(std::uint16_t code) noexcept;

// The combination a key pressed with these modifiers makes under the
// control's rules: modifiers among the invalid combinations (kComb*) are
// replaced by the replacement's (HOTKEYF_*), as the system control does.
std::uint16_t HotkeyUnderRules(std::uint16_t code, std::uint8_t invalid, std::uint8_t replacement) noexcept;

// RegisterHotKey's modifiers for a hotkey; a key held down starts nothing
// again.
std::uint32_t HotkeyModifiers(std::uint16_t code) noexcept;
