// THotkeyEdit: the system's hotkey control (msctls_hotkey32). The user
// presses a combination and the control shows it by the system's key names;
// Backspace empties it. Hotkey is the control's WORD (the virtual key in the
// low byte, HOTKEYF_* in the next; 0: none). OnChange runs for every change,
// pressed or set by code (not while loading).
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/wincontrol.h"

class THotkeyEdit : public TWinControl {
public:
    explicit THotkeyEdit(TComponent* owner);

    std::uint16_t Hotkey() const noexcept { return hotkey_; }
    void SetHotkey(std::uint16_t value);
    // The combinations the control refuses (HKCOMB_*) and the modifiers
    // (HOTKEYF_*) it puts in their place.
    void SetRules(WORD invalid, WORD replacement);

    // A combination as the control shows it, in the system's key names:
    // "Ctrl + Shift + Alt + F8"; empty for none.
    static std::wstring HotkeyText(std::uint16_t code);

    // The room the longest combination of modifiers takes with the key shown.
    int TextWidthNeeded() const override;
    // Named by its label (toolkit/accessiblecontrols.cpp); its value is the
    // combination.
    long AccessibleRole() const override;
    std::wstring AccessibleName() const override { return AccessibleLabel(); }
    std::wstring AccessibleValue() const override;
    std::wstring AccessibleShortcut() const override { return {}; }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Change();
    // The dark theme's face, drawn by us.
    void PaintDark(HDC target);

    std::uint16_t hotkey_ = 0;
    WORD invalid_ = 0;
    WORD replacement_ = 0;
};
