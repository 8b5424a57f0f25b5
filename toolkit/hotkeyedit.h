// THotkeyEdit: the system's hotkey control (msctls_hotkey32), with its keys
// read by us. The user presses a combination and the control shows it by the
// system's key names. Modifiers alone are shown while held but choose
// nothing; leaving the field or Escape keeps the last whole key; Backspace
// and Delete empty it; a reserved combination (Alt+F4, Ctrl+C, …) is refused
// and keeps its usual meaning. Hotkey is the control's WORD (the virtual key
// in the low byte, HOTKEYF_* in the next; 0: none). OnChange runs for every
// change, pressed or set by code (not while loading); OnRefuse for a reserved
// combination pressed.
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
    // What the field shows: the hotkey, or the modifiers held while a key is
    // being chosen.
    std::uint16_t Shown() const noexcept { return shown_; }

    // A combination as the control shows it, in the system's key names:
    // "Ctrl + Shift + Alt + F8", "Ctrl + Alt + " while only modifiers are
    // held; empty for none.
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
    TNotifyEvent OnRefuse;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Change();
    void Show(std::uint16_t shown);
    // A key pressed or let go in the field; false leaves it to the window's
    // default (Alt+F4 closes the window here as everywhere).
    bool Key(const TMessage& m);
    // The face, drawn by us in every theme: the system control would show
    // only what it chose itself, and only on the window colour.
    void Paint(HDC target);

    std::uint16_t hotkey_ = 0;
    std::uint16_t shown_ = 0;
    // The last key pressed was refused: its character is not ours either.
    bool refused_ = false;
    WORD invalid_ = 0;
    WORD replacement_ = 0;
};
