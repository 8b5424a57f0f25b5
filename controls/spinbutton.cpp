#include "controls/spinbutton.h"

#include "controls/spinedit_geometry.h"
#include "resources/resource.h"
#include "toolkit/texts.h"

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(static_cast<TControlStyle>((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque));
    upButton_ = MakeButton();
    downButton_ = MakeButton();
    LanguageChanged();
    SetUpGlyph(TBitmap());
    SetDownGlyph(TBitmap());
    focusedButton_ = upButton_;
    SetBounds(Left(), Top(), 20, 25);
}

void TSpinButton::LanguageChanged()
{
    upButton_->SetHint(Text(TText::SpinUp));
    downButton_->SetHint(Text(TText::SpinDown));
}

TSpinButton::~TSpinButton()
{
    // The buttons are components of this control; nothing reaches them once
    // destruction has started.
    OnUpClick = nullptr;
    OnDownClick = nullptr;
}

TTimerSpeedButton* TSpinButton::MakeButton()
{
    auto* b = CreateComponent<TTimerSpeedButton>(this);
    b->SetParent(this);
    b->SetTimerButtonFlags(TTimerSpeedButton::AllowRepeat);
    b->OnClick = Bind(this, &TSpinButton::ButtonClick);
    b->OnMouseDown = Bind(this, &TSpinButton::ButtonPressed);
    return b;
}

void TSpinButton::SetArrowGlyph(TTimerSpeedButton* button, const TBitmap& value, const wchar_t* defaultName)
{
    if (!value.Empty()) {
        button->SetGlyph(value);
        button->SetMonochromeGlyph(false);  // a picture of the caller's keeps its colours
        return;
    }
    TBitmap glyph;
    // As drawn at 100 %; the form picks the size drawn for its dpi.
    glyph.LoadArtwork(GetModuleHandleW(nullptr), defaultName);
    button->SetGlyph(glyph);
    button->SetNumGlyphs(1);
    button->SetMonochromeGlyph(true);  // the built-in arrow is a plain mark
    button->Invalidate();
}

void TSpinButton::SetUpGlyph(const TBitmap& value)
{
    SetArrowGlyph(upButton_, value, kSpinUpBitmap);
}

void TSpinButton::SetDownGlyph(const TBitmap& value)
{
    SetArrowGlyph(downButton_, value, kSpinDownBitmap);
}

void TSpinButton::SetFocusControl(TWinControl* value)
{
    if (focusControl_ != nullptr && focusControl_ != value) focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == focusControl_) focusControl_ = nullptr;
    if (component == upButton_) upButton_ = nullptr;
    if (component == downButton_) downButton_ = nullptr;
    if (component == focusedButton_) focusedButton_ = nullptr;
}

void TSpinButton::SetBounds(int left, int top, int width, int height)
{
    if (!IsLoading() && upButton_ != nullptr && downButton_ != nullptr) {
        const TSpinButtonFit fit = FitSpinButtons(width, height);
        width = fit.Width;
        height = fit.Height;
    }
    TWinControl::SetBounds(left, top, width, height);
    PlaceButtons();
}

void TSpinButton::Loaded()
{
    TWinControl::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TSpinButton::PlaceButtons()
{
    if (IsLoading() || upButton_ == nullptr || downButton_ == nullptr) return;
    const TSpinButtonFit fit = FitSpinButtons(Width(), Height());
    upButton_->SetBounds(fit.Up.Left, fit.Up.Top, fit.Up.Width, fit.Up.Height);
    downButton_->SetBounds(fit.Down.Left, fit.Down.Top, fit.Down.Width, fit.Down.Height);
}

void TSpinButton::ButtonClick(TObject* sender)
{
    if (sender == upButton_)
        Fire(OnUpClick, this);
    else if (sender == downButton_)
        Fire(OnDownClick, this);
}

void TSpinButton::ButtonPressed(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::mbLeft) return;
    FocusButton(static_cast<TTimerSpeedButton*>(sender));
    if (focusControl_ != nullptr && focusControl_->TabStop() && focusControl_->CanFocus() &&
        !focusControl_->Focused()) {
        focusControl_->SetFocus();
    } else if (TabStop() && !Focused() && CanFocus()) {
        SetFocus();
    }
}

void TSpinButton::FocusButton(TTimerSpeedButton* button)
{
    if (!TabStop() || !CanFocus() || button == focusedButton_ || button == nullptr) return;
    if (focusedButton_ != nullptr)
        focusedButton_->SetTimerButtonFlags(focusedButton_->TimerButtonFlags() & ~TTimerSpeedButton::ShowFocusFrame);
    focusedButton_ = button;
    if (Focused()) {
        button->SetTimerButtonFlags(button->TimerButtonFlags() | TTimerSpeedButton::ShowFocusFrame);
        Invalidate();
    }
}

void TSpinButton::GotFocus()
{
    TWinControl::GotFocus();
    if (focusedButton_ == nullptr) return;
    focusedButton_->SetTimerButtonFlags(focusedButton_->TimerButtonFlags() | TTimerSpeedButton::ShowFocusFrame);
    focusedButton_->Invalidate();
}

void TSpinButton::LostFocus()
{
    TWinControl::LostFocus();
    if (focusedButton_ == nullptr) return;
    focusedButton_->SetTimerButtonFlags(focusedButton_->TimerButtonFlags() & ~TTimerSpeedButton::ShowFocusFrame);
    focusedButton_->Invalidate();
}

void TSpinButton::KeyDown(WORD& key, TShiftState shift)
{
    switch (key) {
    case VK_UP:
        FocusButton(upButton_);
        if (upButton_ != nullptr) upButton_->Click();
        break;
    case VK_DOWN:
        FocusButton(downButton_);
        if (downButton_ != nullptr) downButton_->Click();
        break;
    case VK_SPACE:
        if (focusedButton_ != nullptr) focusedButton_->Click();
        break;
    default:
        break;
    }
    TWinControl::KeyDown(key, shift);
}

void TSpinButton::WndProc(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    TWinControl::WndProc(m);
}
