// TSpinButton: two small arrow buttons stacked (up above, down below) that
// repeat while held and report OnUpClick / OnDownClick. Pressing one moves
// the focus to FocusControl (the edit it serves); with TabStop it can take
// the focus itself and answers the arrow keys and Space.
#pragma once

#include "controls/timerspeedbutton.h"
#include "toolkit/wincontrol.h"

class TSpinButton : public TWinControl {
public:
    explicit TSpinButton(TComponent* owner);
    ~TSpinButton() override;

    // The arrow bitmaps; an empty bitmap restores the built-in arrow.
    const TBitmap& UpGlyph() const { return upButton_->Glyph(); }
    void SetUpGlyph(const TBitmap& value);
    const TBitmap& DownGlyph() const { return downButton_->Glyph(); }
    void SetDownGlyph(const TBitmap& value);
    int UpNumGlyphs() const { return upButton_->NumGlyphs(); }
    void SetUpNumGlyphs(int value) { upButton_->SetNumGlyphs(value); }
    int DownNumGlyphs() const { return downButton_->NumGlyphs(); }
    void SetDownNumGlyphs(int value) { downButton_->SetNumGlyphs(value); }

    TWinControl* FocusControl() const noexcept { return focusControl_; }  // not owned
    void SetFocusControl(TWinControl* value);

    TTimerSpeedButton* UpButton() const noexcept { return upButton_; }
    TTimerSpeedButton* DownButton() const noexcept { return downButton_; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    // Never narrower than the arrows; the two buttons share the middle row.
    void SetBounds(int left, int top, int width, int height) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // What a screen reader calls the arrows; shown as tips only where hints are on.
    void LanguageChanged() override;

protected:
    void WndProc(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void GotFocus() override;
    void LostFocus() override;

private:
    TTimerSpeedButton* MakeButton();
    void ButtonClick(TObject* sender);
    void ButtonPressed(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void FocusButton(TTimerSpeedButton* button);
    void PlaceButtons();
    // An empty value loads the built-in arrow defaultName.
    void SetArrowGlyph(TTimerSpeedButton* button, const TBitmap& value, const wchar_t* defaultName);

    TTimerSpeedButton* upButton_ = nullptr;       // owned as components
    TTimerSpeedButton* downButton_ = nullptr;
    TTimerSpeedButton* focusedButton_ = nullptr;  // one of the two
    TWinControl* focusControl_ = nullptr;         // not owned; cleared when it goes
};
