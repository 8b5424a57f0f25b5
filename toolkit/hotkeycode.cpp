#include "toolkit/hotkeycode.h"

namespace {

constexpr std::uint8_t kModifierFlags = kHotkeyShift | kHotkeyControl | kHotkeyAlt;

struct TReserved {
    std::uint8_t key;
    std::uint8_t flags;
    bool anyShift;  // with Shift as well: Shift+Alt+Tab goes backwards
};

// Windows' own, then what every program means by them.
constexpr TReserved kReserved[] = {
    {kVkTab, kHotkeyAlt, true},
    {kVkEscape, kHotkeyAlt, true},
    {kVkEscape, kHotkeyControl, true},  // with Shift: the task manager
    {kVkDelete, kHotkeyControl | kHotkeyAlt, true},
    {kVkSpace, kHotkeyAlt, false},      // the window menu
    {kVkF4, kHotkeyAlt, false},
    {'C', kHotkeyControl, false},
    {'V', kHotkeyControl, false},
    {'X', kHotkeyControl, false},
    {'Z', kHotkeyControl, false},
    {'A', kHotkeyControl, false},
    {'S', kHotkeyControl, false},
    {'P', kHotkeyControl, false},
};

// HKCOMB_* for a set of modifiers: none, S, C, A, SC, SA, CA, SCA.
constexpr std::uint8_t CombinationBit(std::uint8_t flags) noexcept
{
    constexpr std::uint8_t bits[8] = {0x01, 0x02, 0x04, 0x10, 0x08, 0x20, 0x40, 0x80};
    return bits[flags & kModifierFlags];
}

} // namespace

bool IsUsableHotkey(std::uint32_t code) noexcept
{
    if (code == 0) return true;
    if (code > 0xFFFF) return false;
    const auto hotkey = static_cast<std::uint16_t>(code);
    const std::uint8_t flags = HotkeyFlags(hotkey);
    constexpr std::uint8_t known = kModifierFlags | kHotkeyExt;
    return HotkeyKey(hotkey) != 0 && (flags & ~known) == 0 && (flags & (kHotkeyControl | kHotkeyAlt)) != 0 &&
           !IsReservedHotkey(hotkey);
}

bool IsReservedHotkey(std::uint16_t code) noexcept
{
    const std::uint8_t key = HotkeyKey(code);
    const std::uint8_t modifiers = HotkeyFlags(code) & kModifierFlags;
    for (const TReserved& r : kReserved) {
        if (r.key != key) continue;
        if (modifiers == r.flags || (r.anyShift && modifiers == (r.flags | kHotkeyShift))) return true;
    }
    return false;
}

std::uint16_t HotkeyUnderRules(std::uint16_t code, std::uint8_t invalid, std::uint8_t replacement) noexcept
{
    std::uint8_t flags = HotkeyFlags(code);
    if (invalid & CombinationBit(flags)) flags = (flags & ~kModifierFlags) | (replacement & kModifierFlags);
    return static_cast<std::uint16_t>(flags << 8 | HotkeyKey(code));
}

std::uint32_t HotkeyModifiers(std::uint16_t code) noexcept
{
    const std::uint8_t flags = HotkeyFlags(code);
    std::uint32_t modifiers = kModNoRepeat;
    if (flags & kHotkeyShift) modifiers |= kModShift;
    if (flags & kHotkeyControl) modifiers |= kModControl;
    if (flags & kHotkeyAlt) modifiers |= kModAlt;
    return modifiers;
}
