// TWinControl: a control that owns a window. The window is created on demand
// (Handle(), or with the parent's window, or when first shown if hidden then)
// from CreateParams, and destroyed with the object. Children are kept in
// z-order (first = bottom).
//
// Two kinds of window:
//  - our own classes (CreateParams leaves WinClassName empty or names a class
//    the toolkit registers): the window procedure finds the object through
//    GWLP_USERDATA, set at WM_NCCREATE and cleared at WM_NCDESTROY and in the
//    destructor;
//  - built-in classes ("EDIT", TRACKBAR_CLASSW, ...): CreateParams sets
//    SystemClass; the window is hooked once with SetWindowSubclass and
//    unhandled messages go to DefSubclassProc. The common-controls library
//    that provides both is loaded with the first such window.
// Either way every message passes WndProc(TMessage&), which derived classes
// override (handle what they need, call the base for the rest). Notifications
// sent to a parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL,
// WM_DRAWITEM, WM_CTLCOLOR*) come back to the child's own WndProc as CN_*.
//
// Writing a control over a system class:
//   void TTrackBar::CreateParams(TCreateParams& p) {
//       TWinControl::CreateParams(p);
//       p.WinClassName = TRACKBAR_CLASSW; p.SystemClass = true;
//       p.CommonControlClasses = ICC_BAR_CLASSES;
//       p.Style |= TBS_AUTOTICKS;
//   }
//   void TTrackBar::WndProc(TMessage& m) {
//       if (m.Msg == CN_HSCROLL) { Changed(); m.Result = 0; return; }
//       TWinControl::WndProc(m);
//   }
// Set the control's state after the window exists by overriding CreateWnd()
// (call the base first), and read it back before it goes in DestroyWnd().
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/messages.h"
#include "toolkit/windowbinding.h"

class TAccessibleObject;

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::wstring WinClassName;  // empty: the toolkit's default class
    UINT ClassStyle = CS_DBLCLKS;  // for the toolkit's own classes
    bool SystemClass = false;   // a built-in class to subclass
    DWORD CommonControlClasses = 0;  // ICC_* flags a common-controls class needs registered
};

using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, created on first use (with the parent's windows first).
    HWND Handle();
    bool HandleAllocated() const noexcept { return handle_ != nullptr; }
    HWND WindowHandle() const noexcept { return handle_; }
    // The control that owns a window (ours or subclassed), or null.
    static TWinControl* FindControl(HWND window);

    // Children in z-order, first at the bottom.
    std::size_t ControlCount() const noexcept { return controls_.size(); }
    TControl* Controls(std::size_t index) const
    {
        CheckListIndex(index, controls_.size());
        return controls_[index];
    }
    // The visible, enabled-or-not graphic child at a client point (topmost
    // first), or null.
    TControl* GraphicControlAt(POINT p, bool allowDisabled = false) const;

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const noexcept { return tabStop_; }
    void SetTabStop(bool value);
    // Windowed children in tab order.
    std::vector<TWinControl*> TabOrderList() const;

    // On a form, and it and every parent up to the form visible and enabled.
    bool CanFocus() const;
    // Raises EInvalidOperation when the control cannot take the focus.
    virtual void SetFocus();
    bool Focused() const;

    // The area children are placed in, in client coordinates; alignment fills it.
    virtual void AdjustClientRect(RECT& rect);
    // Places aligned children (alTop, alBottom, alLeft, alRight, alClient).
    void AlignControls();

    LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
    // The message procedure of this control's window. Override, handle, and
    // call the base for everything else.
    virtual void WndProc(TMessage& message);

    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    HWND SurfaceHandle() const override { return handle_; }
    bool HasOwnWindow() const noexcept override { return true; }
    POINT SurfaceOrigin() const override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    // A right click, the menu key or Shift+F10 on the control: where a menu
    // opens, in screen coordinates (below the control's corner from the
    // keyboard).
    std::function<void(TObject* sender, POINT screen)> OnContextPopup;

    // Broadcasts to every child (windowed ones pass it on to theirs).
    bool DialogKey(WORD key, LPARAM keyData) override;
    bool DialogChar(wchar_t ch, LPARAM keyData) override;
    void FocusChanged(TWinControl* active) override;
    // Places aligned children once every stored bound is in.
    void Loaded() override { AlignControls(); }

    // Drops the background brush, passes the news to a common control's
    // window and to every child.
    void SystemColorsChanged() override;

    // Paints the graphic children that intersect clip (surface coordinates)
    // on dc, whose origin is this control's client origin.
    void PaintControls(HDC dc, const RECT& clip);

protected:
    // A top-level window heard that the user's colours or settings changed,
    // or the program changed its theme: asks again about high contrast,
    // tells the controls, repaints them all.
    void FollowSystemColors();
    virtual void CreateParams(TCreateParams& params);
    // Creates the window from CreateParams; override to set its state after
    // calling the base.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // The default processing of a message (DefWindowProc or the built-in
    // class's own procedure).
    void DefaultHandler(TMessage& message);

    // Paints the window's face on dc during WM_PAINT / WM_PRINTCLIENT. The
    // default fills the client area with Color; built-in classes paint themselves.
    virtual void PaintWindow(HDC dc);
    // Composes the face and the graphic children inside area off-screen and
    // copies them to target once.
    void PaintComposed(HDC target, const RECT& area);

    // Keyboard and focus. Key handlers set key to 0 to swallow the key.
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    // The form's active control changes: the old one exits, then the new one
    // enters, both while the new one handles WM_SETFOCUS. They fire OnExit
    // and OnEnter.
    virtual void DoEnter();
    virtual void DoExit();
    // WM_SETFOCUS / WM_KILLFOCUS after the form updated its active control and
    // OnEnter / OnExit ran.
    virtual void GotFocus() {}
    virtual void LostFocus() {}

    void BoundsChanged(const RECT& oldBounds) override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;

    // Makes the windows of visible children that have none yet (and theirs).
    void CreateChildHandles();

    // Background brush for ShownColor (owned, remade when the colour it
    // stands for changes).
    HBRUSH ColorBrush();

private:
    friend class TControl;
    friend class TWindowBinding<TWinControl>;
    friend class TAccessibleObject;
    friend bool AnswerAccessibility(TWinControl& control, TMessage& message);
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData) noexcept;
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Makes the window, and those of its visible children if this control is
    // visible; the others get theirs when they show.
    void CreateHandle();
    void PlaceAmongSiblings();
    void DestroyHandle() noexcept;
    // Before hiding: the focus, if inside, moves to the next control.
    void PassFocusOn();
    // Mouse input: the hint window hears it, the control under the pointer
    // gets its enter and leave, and the message goes to the graphic child
    // under the pointer (or holding the capture), else to this control.
    bool HandleMouseMessage(TMessage& message);
    void RelayToHint(const TMessage& message);
    TControl* ControlUnderPointer(POINT pt) const;
    void TrackHover(POINT pt);
    bool RouteToControl(TMessage& message, POINT pt);
    bool ReflectNotification(TMessage& message);
    bool HandleSetCursor(TMessage& message);
    void HandleMouseLeave();
    bool HandlePaintMessage(TMessage& message);
    // A client edge in the dark theme's colours (WS_EX_CLIENTEDGE).
    void PaintDarkClientEdge();
    void HandleControlColor(TMessage& message);
    bool HandleKeyMessage(TMessage& message);
    void HandleFocus(bool gained);
    void UpdateWindowBounds();
    // The window is going: a screen reader's object must not outlive it here.
    void ReleaseAccessible() noexcept;

    HWND handle_ = nullptr;
    bool subclassed_ = false;
    bool creating_ = false;
    std::vector<TControl*> controls_;    // not owned (owned by their owners)
    std::vector<TWinControl*> tabList_;  // not owned
    bool tabStop_ = false;
    TUniqueBrush colorBrush_;
    COLORREF colorBrushRgb_ = 0;
    TAccessibleObject* accessible_ = nullptr;  // one reference, made on the first WM_GETOBJECT
};
