#include "toolkit/hotkeycode.h"

bool IsUsableHotkey(std::uint32_t code) noexcept
{
    if (code == 0) return true;
    if (code > 0xFFFF) return false;
    const auto hotkey = static_cast<std::uint16_t>(code);
    const std::uint8_t flags = HotkeyFlags(hotkey);
    constexpr std::uint8_t known = kHotkeyShift | kHotkeyControl | kHotkeyAlt | kHotkeyExt;
    return HotkeyKey(hotkey) != 0 && (flags & ~known) == 0 && (flags & (kHotkeyControl | kHotkeyAlt)) != 0;
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
