#include "toolkit/checkbox.h"

#include "toolkit/accelkey.h"
#include "toolkit/graphics.h"
#include "toolkit/messages.h"
#include "toolkit/paintbuffer.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"

using enum TCheckBoxState;

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner)
{
    // Clicks come from the button's own BN_CLICKED, and the button keeps its
    // own capture: releasing it early would cancel the press.
    SetControlStyle(csSetCaption | csDoubleClicks);
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

DWORD TCheckBox::ButtonStyle() const
{
    // The plain styles: the state changes only through SetState, so code and
    // user go the same way. Owner-drawn in the dark theme, where a click
    // still comes as BN_CLICKED.
    if (DarkTheme()) return BS_OWNERDRAW;
    DWORD style = allowGrayed_ ? BS_3STATE : BS_CHECKBOX;
    if (alignment_ == TAlignment::taLeftJustify) style |= BS_LEFTTEXT | BS_RIGHTBUTTON;
    return style;
}

void TCheckBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = L"BUTTON";
    p.SystemClass = true;
    p.Style |= ButtonStyle();
}

void TCheckBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == state_) return;
    state_ = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
    if (!IsLoading()) Click();
}

void TCheckBox::SetAllowGrayed(bool value)
{
    if (value == allowGrayed_) return;
    allowGrayed_ = value;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETSTYLE, ButtonStyle(), TRUE);
}

void TCheckBox::SetAlignment(TAlignment value)
{
    if (value == TAlignment::taCenter || value == alignment_) return;
    alignment_ = value;
    if (HandleAllocated()) {
        // BS_LEFTTEXT lies outside what BM_SETSTYLE changes.
        LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
        style &= ~static_cast<LONG_PTR>(BS_LEFTTEXT | BS_RIGHTBUTTON);
        if (alignment_ == TAlignment::taLeftJustify) style |= BS_LEFTTEXT | BS_RIGHTBUTTON;
        SetWindowLongPtrW(WindowHandle(), GWL_STYLE, style);
        InvalidateRect(WindowHandle(), nullptr, TRUE);
    }
}

void TCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

bool TCheckBox::DialogChar(wchar_t ch, LPARAM keyData)
{
    if (IsAccel(ch, Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        return true;
    }
    return TWinControl::DialogChar(ch, keyData);
}

void TCheckBox::SystemColorsChanged()
{
    TWinControl::SystemColorsChanged();
    if (!HandleAllocated()) return;
    // In or out of the dark theme; BM_SETSTYLE changes the button's kind.
    SendMessageW(WindowHandle(), BM_SETSTYLE, ButtonStyle(), FALSE);
    SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
    InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TCheckBox::DrawDark(const DRAWITEMSTRUCT& item)
{
    const RECT area = item.rcItem;
    TPaintBuffer buffer(item.hDC, area);
    HDC dc = buffer.DC();
    ::FillRect(dc, &area, ColorBrush());
    const int side = ScaleDesign(13), gap = ScaleDesign(4);
    const int top = (area.bottom - area.top - side) / 2;
    const bool boxRight = alignment_ == TAlignment::taLeftJustify;
    const RECT box = boxRight ? RECT{area.right - side, top, area.right, top + side}
                              : RECT{area.left, top, area.left + side, top + side};
    DrawDarkCheckMark(dc, box, static_cast<int>(state_), (item.itemState & ODS_SELECTED) != 0, Enabled());

    TSelectObject font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? ShownFontColor() : clGrayText));
    RECT text = boxRight ? RECT{area.left, area.top, box.left - gap, area.bottom}
                         : RECT{box.right + gap, area.top, area.right, area.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, format);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = text;
        DrawTextW(dc, Caption().c_str(), static_cast<int>(Caption().size()), &focus, format | DT_CALCRECT);
        const int height = focus.bottom - focus.top;
        focus.top = text.top + (text.bottom - text.top - height) / 2;
        focus.bottom = focus.top + height;
        InflateRect(&focus, 1, 1);
        DrawFocusRect(dc, &focus);
    }
    buffer.Flush();
}

void TCheckBox::WndProc(TMessage& m)
{
    if (m.Msg == CN_DRAWITEM) {
        DrawDark(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    }
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

int TCheckBox::TextWidthNeeded() const
{
    if (Caption().empty()) return 0;
    // The box, the gap the system leaves after it, and room for the focus
    // rectangle around the text.
    constexpr int kBoxAndGap = 13 + 4 + 3;
    return ScaleDesign(kBoxAndGap) + TextWidth(Caption());
}
