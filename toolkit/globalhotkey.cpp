#include "toolkit/globalhotkey.h"

#include <commctrl.h>

#include "toolkit/hotkeycode.h"

static_assert(kHotkeyShift == HOTKEYF_SHIFT && kHotkeyControl == HOTKEYF_CONTROL && kHotkeyAlt == HOTKEYF_ALT
              && kHotkeyExt == HOTKEYF_EXT);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT
              && kModNoRepeat == MOD_NOREPEAT);
static_assert(kCombNone == HKCOMB_NONE && kCombShift == HKCOMB_S);
static_assert(kVkTab == VK_TAB && kVkEscape == VK_ESCAPE && kVkSpace == VK_SPACE && kVkDelete == VK_DELETE
              && kVkF4 == VK_F4);

bool TGlobalHotkey::Hold(HWND window, std::uint16_t code)
{
    if (code == held_ && window == window_ && code != 0) return true;
    Release();
    if (code == 0) return true;
    if (window == nullptr) return false;
    if (!RegisterHotKey(window, id_, HotkeyModifiers(code), HotkeyKey(code))) return false;
    window_ = window;
    held_ = code;
    return true;
}

void TGlobalHotkey::Release() noexcept
{
    if (held_ == 0) return;
    UnregisterHotKey(window_, id_);
    window_ = nullptr;
    held_ = 0;
}
