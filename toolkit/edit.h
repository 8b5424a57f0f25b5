// TEdit: the system single-line edit. Text is the window's text, kept in
// step with what the user types. OnChange runs for every change of the text,
// typed or set by code (not while loading).
//
// For controls built on it: KeyDown and KeyPress (virtuals of TWinControl)
// see each key and character first; setting the character to 0 refuses it.
// WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO and the EM_* messages pass to the edit
// through WndProc, where a derived class may intercept them.
#pragma once

#include "toolkit/wincontrol.h"

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    // The text is no name: what labels the box is (toolkit/accessiblecontrols.cpp).
    std::wstring AccessibleName() const override { return AccessibleLabel(); }
    std::wstring AccessibleShortcut() const override { return {}; }

    const std::wstring& Text() const noexcept { return Caption(); }
    void SetText(const std::wstring& value) { SetCaption(value); }

    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool value);
    // Selects all text when the focus arrives, except while the left mouse
    // button is held down on the edit (the click places the caret).
    bool AutoSelect() const noexcept { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    // The height follows the font when the font changes.
    bool AutoSize() const noexcept { return autoSize_; }
    void SetAutoSize(bool value);
    // The most characters the user may type; 0 = no limit.
    int MaxLength() const noexcept { return maxLength_; }
    void SetMaxLength(int value);
    // Whether the user changed the text since it was last set.
    bool Modified() const;
    void SetModified(bool value);

    void SelectAll();
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    void Clear() { SetText(std::wstring()); }
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

protected:
    // Raises OnChange unless loading.
    virtual void Change();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void TextChanged() override;
    void FontChanged() override;
    void GotFocus() override;
    // The height that shows the font with the edit's frame.
    int AutoHeight() const;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool autoSize_ = true;
    int maxLength_ = 0;
    bool syncing_ = false;      // copying the window's text into Caption
    bool changeSeen_ = false;   // EN_CHANGE arrived during our own SetWindowText
    bool mouseDown_ = false;    // left button pressed on the edit
};
