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
    Send(HKM_SETRULES, invalid_, MAKELPARAM(replacement_, 0));
    Send(HKM_SETHOTKEY, hotkey_, 0);
}

void THotkeyEdit::SetHotkey(std::uint16_t value)
{
    if (value == hotkey_) return;
    hotkey_ = value;
    Send(HKM_SETHOTKEY, hotkey_, 0);
    Change();
}

void THotkeyEdit::SetRules(WORD invalid, WORD replacement)
{
    invalid_ = invalid;
    replacement_ = replacement;
    Send(HKM_SETRULES, invalid_, MAKELPARAM(replacement_, 0));
}

void THotkeyEdit::Change()
{
    NotifyAccessibleEvent(this, EVENT_OBJECT_VALUECHANGE);
    if (!IsLoading()) Fire(OnChange, this);
}

std::wstring THotkeyEdit::HotkeyText(std::uint16_t code)
{
    if (HotkeyKey(code) == 0) return {};
    const std::uint8_t flags = HotkeyFlags(code);
    std::wstring text;
    // In the control's own order.
    for (const auto& [flag, key] : {std::pair{kHotkeyControl, VK_CONTROL}, std::pair{kHotkeyShift, VK_SHIFT},
                                    std::pair{kHotkeyAlt, VK_MENU}})
        if (flags & flag) text += KeyName(key, false) + L" + ";
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

void THotkeyEdit::PaintDark(HDC target)
{
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    TPaintBuffer buffer(target, client);
    HDC dc = buffer.DC();
    ::FillRect(dc, &client, ColorBrush());
    const auto shown = static_cast<std::uint16_t>(Send(HKM_GETHOTKEY, 0, 0));
    const std::wstring text = shown != 0 ? HotkeyText(shown) : Text(TText::SettingsHotkeyNone);
    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? ShownFontColor() : clGrayText));
    // Where the control itself puts it, one border in; its caret follows it.
    const int x = GetSystemMetrics(SM_CXBORDER), y = GetSystemMetrics(SM_CYBORDER);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    buffer.Flush();
    if (GetFocus() == WindowHandle()) SetCaretPos(x + (shown != 0 ? size.cx : 0), y);
}

void THotkeyEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            const auto value = static_cast<std::uint16_t>(Send(HKM_GETHOTKEY, 0, 0));
            if (value != hotkey_) {
                hotkey_ = value;
                Change();
            }
        }
        m.Result = 0;
        return;
    case WM_GETDLGCODE:
        // Alt with a letter is a combination to take here, not an access
        // key of the form.
        TWinControl::WndProc(m);
        if (const auto* msg = reinterpret_cast<const MSG*>(m.LParam); msg != nullptr && msg->message == WM_SYSCHAR)
            m.Result |= DLGC_WANTMESSAGE;
        return;
    case WM_SYSCHAR:
        // Its key went into the control already; left to the default it
        // would only beep.
        m.Result = 0;
        return;
    case WM_ERASEBKGND:
    case WM_PAINT:
        if (!DarkTheme()) break;
        // The control draws its text on the system's window colour,
        // whatever it is asked: drawn here in the dark theme.
        if (m.Msg == WM_PAINT) {
            TPaintDC dc(WindowHandle());
            PaintDark(dc.Get());
        }
        m.Result = m.Msg == WM_ERASEBKGND ? 1 : 0;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
