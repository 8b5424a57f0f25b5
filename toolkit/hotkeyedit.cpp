#include "toolkit/hotkeyedit.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/accessibility.h"
#include "toolkit/graphics.h"
#include "toolkit/handles.h"
#include "toolkit/hotkeycode.h"
#include "toolkit/paintbuffer.h"
#include "toolkit/texts.h"
#include "toolkit/theme.h"

namespace {

// The name the keyboard layout gives a key, as the hotkey control asks it.
std::wstring KeyName(UINT virtualKey, bool extended)
{
    UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    if (extended) scan |= 0x100;
    wchar_t name[64] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scan << 16), name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

// HOTKEYF_* of the modifiers held as the message being handled was sent.
std::uint8_t HeldModifiers()
{
    std::uint8_t flags = 0;
    if (GetKeyState(VK_SHIFT) < 0) flags |= kHotkeyShift;
    if (GetKeyState(VK_CONTROL) < 0) flags |= kHotkeyControl;
    if (GetKeyState(VK_MENU) < 0) flags |= kHotkeyAlt;
    return flags;
}

bool IsModifierKey(WPARAM key)
{
    switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

} // namespace

THotkeyEdit::THotkeyEdit(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

LRESULT THotkeyEdit::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return HandleAllocated() ? SendMessageW(WindowHandle(), message, wParam, lParam) : 0;
}

void THotkeyEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = HOTKEY_CLASSW;
    p.SystemClass = true;
    p.CommonControlClasses = ICC_HOTKEY_CLASS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void THotkeyEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    Send(HKM_SETHOTKEY, shown_, 0);
}

void THotkeyEdit::SetHotkey(std::uint16_t value)
{
    if (value == hotkey_) return;
    hotkey_ = value;
    Show(hotkey_);
    Change();
}

void THotkeyEdit::SetRules(WORD invalid, WORD replacement)
{
    // Applied by us as keys are pressed (HotkeyUnderRules); the control
    // never sees a key.
    invalid_ = invalid;
    replacement_ = replacement;
}

void THotkeyEdit::Change()
{
    if (!IsLoading()) Fire(OnChange, this);
}

void THotkeyEdit::Show(std::uint16_t shown)
{
    if (shown == shown_) return;
    shown_ = shown;
    // Kept in the control too, for whoever asks it; it repaints.
    Send(HKM_SETHOTKEY, shown_, 0);
    NotifyAccessibleEvent(this, EVENT_OBJECT_VALUECHANGE);
}

bool THotkeyEdit::Key(const TMessage& m)
{
    const bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
    const std::uint8_t held = HeldModifiers();
    if (!down || IsModifierKey(m.WParam)) {
        // Modifiers alone choose nothing: shown while held, then the last
        // whole key again.
        if (down || HotkeyKey(shown_) == 0)
            Show(held != 0 ? static_cast<std::uint16_t>(held << 8) : hotkey_);
        return true;
    }
    refused_ = false;
    if (held == 0 && (m.WParam == VK_BACK || m.WParam == VK_DELETE)) {
        SetHotkey(0);
        return true;
    }
    if (held == 0 && m.WParam == VK_ESCAPE) {
        Show(hotkey_);
        return true;
    }
    const bool extended = (HIWORD(m.LParam) & KF_EXTENDED) != 0;
    const auto pressed = static_cast<std::uint16_t>((held | (extended ? kHotkeyExt : 0)) << 8 | (m.WParam & 0xFF));
    const std::uint16_t code = HotkeyUnderRules(pressed, static_cast<std::uint8_t>(invalid_),
                                                static_cast<std::uint8_t>(replacement_));
    if (IsReservedHotkey(code)) {
        // Refused, and left to mean what it means everywhere.
        refused_ = true;
        Show(hotkey_);
        Fire(OnRefuse, this);
        return false;
    }
    SetHotkey(code);
    Show(code);
    return true;
}

std::wstring THotkeyEdit::HotkeyText(std::uint16_t code)
{
    if (code == 0) return {};
    const std::uint8_t flags = HotkeyFlags(code);
    std::wstring text;
    // In the control's own order.
    for (const auto& [flag, key] : {std::pair{kHotkeyControl, VK_CONTROL}, std::pair{kHotkeyShift, VK_SHIFT},
                                    std::pair{kHotkeyAlt, VK_MENU}})
        if (flags & flag) text += KeyName(key, false) + L" + ";
    // Modifiers alone, while held, end in their "+" as the control shows them.
    if (HotkeyKey(code) == 0) return text;
    return text + KeyName(HotkeyKey(code), (flags & kHotkeyExt) != 0);
}

int THotkeyEdit::TextWidthNeeded() const
{
    // The frame, and the gap the control leaves before and after its text.
    const int frame = 2 * GetSystemMetrics(SM_CXEDGE) + ScaleDesign(4);
    const std::uint16_t allModifiers = (kHotkeyControl | kHotkeyShift | kHotkeyAlt) << 8;
    const std::uint16_t key = hotkey_ != 0 ? HotkeyKey(hotkey_) | (HotkeyFlags(hotkey_) & kHotkeyExt) << 8 : VK_F8;
    return frame + TextWidth(HotkeyText(static_cast<std::uint16_t>(allModifiers | key)));
}

void THotkeyEdit::Paint(HDC target)
{
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    TPaintBuffer buffer(target, client);
    HDC dc = buffer.DC();
    ::FillRect(dc, &client, ColorBrush());
    const std::wstring text = shown_ != 0 ? HotkeyText(shown_) : Text(TText::SettingsHotkeyNone);
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? ShownFontColor() : clGrayText));
    // Where the control itself puts it, one border in; its caret follows it.
    const int x = GetSystemMetrics(SM_CXBORDER), y = GetSystemMetrics(SM_CYBORDER);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    buffer.Flush();
    if (GetFocus() == WindowHandle()) SetCaretPos(x + (shown_ != 0 ? size.cx : 0), y);
}

void THotkeyEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Never the control's: it empties itself on a lone Shift, Ctrl or
        // Alt, and takes Alt+F4 and Ctrl+C as any other key.
        if (Key(m))
            m.Result = 0;
        else
            m.Result = DefWindowProcW(WindowHandle(), m.Msg, m.WParam, m.LParam);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        // The key went into the field already; the character of a refused
        // one keeps its meaning (Alt+Space: the window menu).
        m.Result = refused_ ? DefWindowProcW(WindowHandle(), m.Msg, m.WParam, m.LParam) : 0;
        return;
    case WM_KILLFOCUS:
        // Shift+Tab, Alt+Tab or a click away keeps the last whole key.
        Show(hotkey_);
        break;
    case WM_GETDLGCODE:
        // Alt with a letter is a combination to take here, not an access
        // key of the form.
        TWinControl::WndProc(m);
        if (const auto* msg = reinterpret_cast<const MSG*>(m.LParam); msg != nullptr && msg->message == WM_SYSCHAR)
            m.Result |= DLGC_WANTMESSAGE;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_PAINT: {
        TPaintDC dc(WindowHandle());
        Paint(dc.Get());
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
}
