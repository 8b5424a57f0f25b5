#include "toolkit/edit.h"

#include <algorithm>
#include <vector>

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    // The edit selects text under its own capture.
    SetControlStyle(csClickEvents | csDoubleClicks);
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

LRESULT TEdit::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return HandleAllocated() ? SendMessageW(WindowHandle(), message, wParam, lParam) : 0;
}

void TEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = L"EDIT";
    p.SystemClass = true;
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.Style |= ES_READONLY;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    Send(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::TextChanged()
{
    if (syncing_) return;  // the window already shows it
    if (HandleAllocated()) {
        // A single-line edit reports EN_CHANGE for WM_SETTEXT, a multi-line
        // one does not: raise the change here when it did not come.
        changeSeen_ = false;
        SetWindowTextW(WindowHandle(), Caption().c_str());
        if (!changeSeen_) Change();
    } else {
        Change();
    }
}

void TEdit::Change()
{
    if (!IsLoading()) Fire(OnChange, this);
}

void TEdit::SetReadOnly(bool value)
{
    if (value == readOnly_) return;
    readOnly_ = value;
    Send(EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TEdit::SetMaxLength(int value)
{
    if (value < 0) value = 0;
    if (value == maxLength_) return;
    maxLength_ = value;
    Send(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TEdit::Modified() const
{
    return Send(EM_GETMODIFY, 0, 0) != 0;
}

void TEdit::SetModified(bool value)
{
    Send(EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

void TEdit::SetAutoSize(bool value)
{
    if (value == autoSize_) return;
    autoSize_ = value;
    if (autoSize_ && !IsLoading()) SetHeight(AutoHeight());
}

int TEdit::AutoHeight() const
{
    TWindowDC dc(nullptr);
    TEXTMETRICW system{}, own{};
    GetTextMetricsW(dc.Get(), &system);
    {
        TSelectObject select(dc.Get(), Font().Handle());
        GetTextMetricsW(dc.Get(), &own);
    }
    return own.tmHeight + std::min(system.tmHeight, own.tmHeight) / 4 + GetSystemMetrics(SM_CYBORDER) * 4 + 2;
}

void TEdit::FontChanged()
{
    TWinControl::FontChanged();
    // Stored heights stand while loading; later font changes resize the box.
    if (autoSize_ && !IsLoading() && !followingParent_) SetHeight(AutoHeight());
}

void TEdit::SelectAll()
{
    Send(EM_SETSEL, 0, -1);
}

int TEdit::SelStart() const
{
    DWORD start = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TEdit::SetSelStart(int value)
{
    Send(EM_SETSEL, static_cast<WPARAM>(value), value);
}

int TEdit::SelLength() const
{
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int value)
{
    const int start = SelStart();
    Send(EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

void TEdit::ClearSelection()
{
    Send(WM_CLEAR, 0, 0);
}

void TEdit::CopyToClipboard()
{
    Send(WM_COPY, 0, 0);
}

void TEdit::CutToClipboard()
{
    Send(WM_CUT, 0, 0);
}

void TEdit::PasteFromClipboard()
{
    Send(WM_PASTE, 0, 0);
}

void TEdit::GotFocus()
{
    TWinControl::GotFocus();
    if (autoSelect_ && !mouseDown_) SelectAll();
}

void TEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) {
            changeSeen_ = true;
            const int length = GetWindowTextLengthW(WindowHandle());
            std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
            GetWindowTextW(WindowHandle(), buffer.data(), length + 1);
            syncing_ = true;
            try {
                SetCaption(std::wstring(buffer.data()));
            } catch (...) {
                syncing_ = false;
                throw;
            }
            syncing_ = false;
            Change();
        }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The focus arrives inside the default handling of the press.
        mouseDown_ = true;
        try {
            TWinControl::WndProc(m);
        } catch (...) {
            mouseDown_ = false;
            throw;
        }
        mouseDown_ = false;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
