// TSpinEdit: a one-line box for a whole number with up/down arrow buttons
// inside its right edge. The number is typed (only signs, digits and the
// decimal separator get in), stepped with the arrows or the Up and Down keys,
// and clamped to MinValue ... MaxValue unless the two are equal.
//
//   SpinEditAlarmMB = CreateComponent<TSpinEdit>(form);
//   SpinEditAlarmMB->SetParent(page);
//   SpinEditAlarmMB->SetBounds(120, 40, 51, 22);
//   SpinEditAlarmMB->SetMaxValue(0);
//   SpinEditAlarmMB->SetMinValue(0);
//   SpinEditAlarmMB->SetValue(0);
//   ... int mb = SpinEditAlarmMB->Value();
#pragma once

#include <cstdint>

#include "controls/spinbutton.h"
#include "toolkit/edit.h"

class TSpinEdit : public TEdit {
public:
    explicit TSpinEdit(TComponent* owner);
    ~TSpinEdit() override;

    // Reading converts the text (a text that is no 32-bit integer reads as
    // MinValue) and never clamps; writing sets the clamped number's text.
    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    // Plain limits: setting them leaves the text alone until the next step,
    // Value assignment or exit. Equal limits mean no range.
    std::int32_t MinValue() const noexcept { return minValue_; }
    void SetMinValue(std::int32_t value) { minValue_ = value; }
    std::int32_t MaxValue() const noexcept { return maxValue_; }
    void SetMaxValue(std::int32_t value) { maxValue_ = value; }
    std::int32_t Increment() const noexcept { return increment_; }
    void SetIncrement(std::int32_t value) { increment_ = value; }
    // Off: the text can only be stepped, not typed, pasted or cut.
    bool EditorEnabled() const noexcept { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }

    std::int32_t ClampValue(std::int32_t value) const;

    // A reader hears a spin box named by its label, with the number as its
    // value (controls/accessiblecontrols.cpp).
    long AccessibleRole() const override;
    std::wstring AccessibleValue() const override { return Text(); }
    TSpinButton* Button() const noexcept { return button_; }

    virtual bool AcceptsChar(wchar_t ch) const;
    virtual void StepUp(TObject* sender);
    virtual void StepDown(TObject* sender);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(wchar_t& key) override;
    // Entering selects the text before OnEnter runs; leaving runs OnExit on
    // the text as typed, then corrects an out-of-range number.
    void DoEnter() override;
    void DoExit() override;
    void GotFocus() override;

private:
    void Step(bool up);
    void AdjustSize();
    void UpdateTextArea();

    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    bool adjusting_ = false;
    bool leftDown_ = false;   // the left button went down on the edit and the focus follows it
    bool selectedOnEnter_ = false;  // this focus arrival already selected (or chose not to)
    TSpinButton* button_ = nullptr;  // owned as a component of this edit
};
