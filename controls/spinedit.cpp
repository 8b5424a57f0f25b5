#include "controls/spinedit.h"

#include <string>

#include "controls/spinedit_geometry.h"
#include "controls/spinedit_value.h"
#include "toolkit/handles.h"

namespace {

wchar_t DecimalSeparator()
{
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0 && buffer[0] != 0) return buffer[0];
    return L'.';
}

int CharHeight(HDC dc, HFONT font)
{
    TEXTMETRICW tm{};
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    GetTextMetricsW(dc, &tm);
    if (old != nullptr) SelectObject(dc, old);
    return tm.tmHeight;
}

}  // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TEdit(owner)
{
    button_ = CreateComponent<TSpinButton>(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetVisible(true);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnUpClick = Bind(this, &TSpinEdit::StepUp);
    button_->OnDownClick = Bind(this, &TSpinEdit::StepDown);
    SetText(L"0");
    SetControlStyle(static_cast<TControlStyle>(ControlStyle() & ~csSetCaption));
}

TSpinEdit::~TSpinEdit()
{
    TSpinButton* button = button_;
    button_ = nullptr;
    // Freed before the edit's window goes, whose child its window is.
    if (button != nullptr) button->Free();
}

void TSpinEdit::Notification(TComponent* component, TOperation operation)
{
    TEdit::Notification(component, operation);
    if (operation == TOperation::opRemove && component == button_) button_ = nullptr;
}

std::int32_t TSpinEdit::Value() const
{
    return SpinValueOfText(Text(), minValue_);
}

void TSpinEdit::SetValue(std::int32_t value)
{
    SetText(std::to_wstring(ClampValue(value)));
}

std::int32_t TSpinEdit::ClampValue(std::int32_t value) const
{
    return ClampSpinValue(value, minValue_, maxValue_);
}

bool TSpinEdit::AcceptsChar(wchar_t ch) const
{
    return SpinAcceptsChar(ch, DecimalSeparator(), editorEnabled_);
}

void TSpinEdit::Step(bool up)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    SetValue(SteppedSpinValue(Value(), increment_, up, minValue_, maxValue_));
}

void TSpinEdit::StepUp(TObject*)
{
    Step(true);
}

void TSpinEdit::StepDown(TObject*)
{
    Step(false);
}

void TSpinEdit::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_UP)
        StepUp(this);
    else if (key == VK_DOWN)
        StepDown(this);
    TEdit::KeyDown(key, shift);
}

void TSpinEdit::KeyPress(wchar_t& key)
{
    if (!AcceptsChar(key)) {
        key = 0;
        MessageBeep(0);
        return;
    }
    TEdit::KeyPress(key);
}

void TSpinEdit::DoEnter()
{
    // Selected first, so that OnEnter finds (and may change) the selection.
    if (AutoSelect() && !leftDown_) SelectAll();
    selectedOnEnter_ = true;
    try {
        TEdit::DoEnter();
    } catch (...) {
        selectedOnEnter_ = false;
        throw;
    }
}

void TSpinEdit::GotFocus()
{
    if (selectedOnEnter_) {
        selectedOnEnter_ = false;
        TWinControl::GotFocus();  // not the edit's select-all: OnEnter may have moved the selection
        return;
    }
    TEdit::GotFocus();  // focus back without entering (the window was activated again)
}

void TSpinEdit::DoExit()
{
    // OnExit sees the text as the user left it.
    TEdit::DoExit();
    // A number typed out of range is corrected when the user leaves the box;
    // a text that is no number is left for the user to fix.
    const std::int32_t value = Value();
    if (ClampValue(value) != value) SetValue(value);
}

void TSpinEdit::CreateParams(TCreateParams& p)
{
    TEdit::CreateParams(p);
    // Multi-line only for the formatting rectangle that keeps the text clear
    // of the arrows; the children must not be painted over.
    p.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd()
{
    TEdit::CreateWnd();
    AdjustSize();
}

void TSpinEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        // A multi-line edit asks for every key; this one is a one-line box:
        // Tab, Return and Escape stay with the dialog.
        TEdit::WndProc(m);
        m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        return;
    case WM_PASTE:
    case WM_CUT:
        if (!editorEnabled_ || ReadOnly()) {
            m.Result = 0;
            return;
        }
        break;
    case WM_SIZE:
        TEdit::WndProc(m);
        AdjustSize();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The focus arrives inside the default handling of the press: a
        // click places the caret instead of selecting everything.
        leftDown_ = true;
        struct TUp {
            bool& flag;
            ~TUp() { flag = false; }
        } up{leftDown_};
        TEdit::WndProc(m);
        return;
    }
    default:
        break;
    }
    TEdit::WndProc(m);
}

void TSpinEdit::AdjustSize()
{
    if (!HandleAllocated() || button_ == nullptr || adjusting_) return;
    adjusting_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{adjusting_};

    int minimum = 0;
    {
        TWindowDC dc(nullptr);
        const int system = CharHeight(dc.Get(), nullptr);
        const int own = CharHeight(dc.Get(), Font().Handle());
        minimum = SpinMinimumHeight(own, system, GetSystemMetrics(SM_CYBORDER));
    }
    if (Height() < minimum) {
        adjusting_ = false;
        SetHeight(minimum);  // its size message places the button
        return;
    }
    const TSpinBounds place = SpinButtonPlacement(Width(), Height(), button_->Width(), true);
    button_->SetBounds(place.Left, place.Top, place.Width, place.Height);
    UpdateTextArea();
}

void TSpinEdit::UpdateTextArea()
{
    if (!HandleAllocated() || button_ == nullptr) return;
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    RECT r{};
    SendMessageW(WindowHandle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r = {0, 0, SpinTextAreaRight(client.right, button_->Width()), client.bottom + 1};
    SendMessageW(WindowHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}
