// TCheckBox: the system check box. Every change of its state, by the user
// (click, Space, accelerator) or by code, raises OnClick once; setting the
// state it already has raises nothing, and so does anything while its form
// is loading (a box stored checked does not run its handler).
#pragma once

#include <cstdint>

#include "toolkit/wincontrol.h"

enum class TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const noexcept { return state_ == TCheckBoxState::cbChecked; }

    // What a screen reader hears (toolkit/accessiblecontrols.cpp).
    int TextWidthNeeded() const override;
    long AccessibleRole() const override;
    unsigned long AccessibleState() const override;
    std::wstring AccessibleDefaultAction() const override;
    bool DoAccessibleDefaultAction() override;
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const noexcept { return state_; }
    void SetState(TCheckBoxState value);
    // The user's clicks also pass through cbGrayed.
    bool AllowGrayed() const noexcept { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    // taRightJustify (the default): box at the left, caption to its right;
    // taLeftJustify: caption at the left, box at the right end.
    TAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(TAlignment value);

    // What a user's click does: the next state in the cycle.
    virtual void Toggle();

    bool DialogChar(wchar_t ch, LPARAM keyData) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void SystemColorsChanged() override;

private:
    DWORD ButtonStyle() const;
    // The dark theme's check box, drawn by us: a themed system check box
    // keeps its black text whatever colour it is asked for.
    void DrawDark(const DRAWITEMSTRUCT& item);

    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
};
