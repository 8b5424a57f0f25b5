// TControl: what every visible control has (bounds, parent, visibility,
// caption, font, colour, hint, cursor, alignment, mouse events, repainting).
// TGraphicControl: a control without a window that paints on its parent's
// surface; the parent paints it after its own background, in z-order, and
// routes mouse input to it.
//
// Writing a graphic control: derive from TGraphicControl, set the size in the
// constructor, override Paint() and draw on Canvas() in client coordinates
// (0,0 is the control's top-left corner; drawing is clipped to the control).
// Call Invalidate() for a deferred repaint, Repaint() to draw before returning.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/component.h"
#include "toolkit/graphics.h"

class TWinControl;
class TForm;
class TBasicAction;  // defined with the actions

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// Cursor identifiers; crDefault means "the window class's own cursor".
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crAppStart = -19;

// Control style flags (set in constructors).
using TControlStyle = std::uint16_t;
inline constexpr TControlStyle csClickEvents = 1u << 0;     // press and release inside = Click()
inline constexpr TControlStyle csCaptureMouse = 1u << 1;    // keeps the mouse while a button is held
inline constexpr TControlStyle csDoubleClicks = 1u << 2;    // double click = DblClick()
inline constexpr TControlStyle csOpaque = 1u << 3;          // paints its whole rectangle
inline constexpr TControlStyle csAcceptsControls = 1u << 4; // may be a parent of other controls
inline constexpr TControlStyle csSetCaption = 1u << 5;      // caption follows the name, except while loading

// Key state of a mouse message (MK_*) plus the Alt key, as a TShiftState.
TShiftState KeysToShiftState(WPARAM keys);
// The current state of Shift, Ctrl and Alt.
TShiftState KeyboardShiftState();

// The link between a control and its action, implemented by the actions code.
// The control owns its link; the link applies the action's properties to the
// control through its public setters and calls ActionChanged() afterwards.
class TControlActionLink {
public:
    virtual ~TControlActionLink() = default;
    virtual TBasicAction* Action() const = 0;
    // Runs the action for a click on the control; false when it has no handler.
    virtual bool Execute() = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Bounds relative to the parent's client area (for a form: the screen).
    int Left() const noexcept { return left_; }
    int Top() const noexcept { return top_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const noexcept { return {left_, top_, left_ + width_, top_ + height_}; }
    // The client area in the control's own coordinates.
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }

    TWinControl* Parent() const noexcept { return parent_; }  // not owned
    // Moves the control into parent's child list (on top of its z-order); null
    // takes it out. Fonts, colours and hint settings marked Parent* follow.
    virtual void SetParent(TWinControl* parent);

    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a top-level window that is showing.
    bool Showing() const;
    // A windowed control has a window of its own (once created); any other
    // control is drawn on its parent's.
    virtual bool HasOwnWindow() const noexcept { return false; }
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value);

    const std::wstring& Caption() const noexcept { return caption_; }
    void SetCaption(const std::wstring& value);

    // The control's own font; with ParentFont it follows the parent's font
    // until the control's font is changed directly.
    TFont& Font() noexcept { return font_; }
    const TFont& Font() const noexcept { return font_; }
    void SetFont(const TFont& value) { font_.Assign(value); }
    bool ParentFont() const noexcept { return parentFont_; }
    void SetParentFont(bool value);

    // The width in pixels this control needs for its text to show whole in
    // its font; 0 when it shows none. The form makes room for it.
    virtual int TextWidthNeeded() const { return 0; }
    // The width text takes in this control's font, as a single line whose
    // "&" marks an access key.
    int TextWidth(const std::wstring& text) const;

    TColor Color() const noexcept { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const noexcept { return parentColor_; }
    void SetParentColor(bool value);
    // Color and the font's colour as they are drawn: under high contrast an
    // explicit colour gives way to the button face and the window text.
    TColor ShownColor() const;
    TColor ShownFontColor() const;

    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& value) { hint_ = value; }
    // With ParentShowHint, ShowHint follows the parent's.
    bool ShowHint() const;
    void SetShowHint(bool value);
    bool ParentShowHint() const noexcept { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }

    TCursor Cursor() const noexcept { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }

    TAlign Align() const noexcept { return align_; }
    void SetAlign(TAlign value);

    TControlStyle ControlStyle() const noexcept { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }

    // The action this control is a client of (not owned). SetAction is
    // declared here and defined by the actions code (with TBasicAction): it
    // builds the link, applies the client rules and installs it with
    // SetActionLink. Click() runs the link when the control has no OnClick.
    TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
    void SetAction(TBasicAction* action);
    TControlActionLink* ActionLink() const noexcept { return actionLink_.get(); }
    void SetActionLink(std::unique_ptr<TControlActionLink> link);
    // The action's properties changed (or the action was attached or dropped).
    virtual void ActionChanged() {}

    // The top-level form containing the control (walking up the parents), or
    // null when the topmost parent is not a form.
    TForm* GetParentForm() const;
    // A design value (pixels at 96 dpi) in pixels for the dpi of this
    // control's form, which does the scaling; unscaled outside a form.
    int ScaleDesign(int value) const;
    // The control's form is laid out from right to left: a control that
    // composes its own face mirrors what has a direction in it.
    bool RightToLeft() const;

    // Deferred repaint (InvalidateRect on the surface).
    virtual void Invalidate();
    // Paints at once, before returning: no trip through the message loop.
    virtual void Repaint();
    // Paints pending invalid parts of the surface now.
    virtual void Update();
    // The user's colours or the high-contrast setting changed: drop whatever
    // was made from the old ones. The top-level window that heard of it
    // repaints everything afterwards.
    virtual void SystemColorsChanged() {}

    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // The window that shows this control: its own, or its parent's for a
    // graphic control (null when none is created yet).
    virtual HWND SurfaceHandle() const;
    // This control's client origin inside SurfaceHandle()'s client area.
    virtual POINT SurfaceOrigin() const;

    // Draws a control that has no window of its own on dc, whose origin is
    // already at the control's corner; the parent calls it while painting.
    virtual void PaintTo(HDC dc) {}

    // What a screen reader is told about the control (toolkit/accessibility.*):
    // role (ROLE_SYSTEM_*; 0 leaves a window's own), name, value, default
    // action and its keyboard shortcut, and STATE_SYSTEM_* flags. The
    // defaults give the caption without "&", no value and no action, and the
    // state from visibility, enabled state and focus.
    virtual long AccessibleRole() const { return 0; }
    virtual std::wstring AccessibleName() const;
    virtual std::wstring AccessibleValue() const { return {}; }
    virtual std::wstring AccessibleDefaultAction() const { return {}; }
    // Runs the default action (later, from the message loop); false when the
    // control has none.
    virtual bool DoAccessibleDefaultAction() { return false; }
    virtual std::wstring AccessibleShortcut() const;
    virtual unsigned long AccessibleState() const;
    // For a control without a caption of its own: the label left of it on
    // its row, else its group's caption.
    std::wstring AccessibleLabel() const;

    // Captures the mouse for this control while true.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // Offered by the form to every control: Return, Escape and other keys
    // the focused control does not want; true when handled.
    virtual bool DialogKey(WORD key, LPARAM keyData) { return false; }
    // Offered by the form to every control: a typed character (with or without
    // Alt) the focused control does not want, for accelerators; true when handled.
    virtual bool DialogChar(wchar_t ch, LPARAM keyData) { return false; }
    // The form's focused control changed.
    virtual void FocusChanged(TWinControl* active) {}

    // Mouse input in client coordinates. RouteMouse is the framework's entry:
    // it applies capture, the click rule and double clicks, then calls these.
    void RouteMouse(UINT message, WPARAM keys, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Raises OnClick, or runs the linked action when there is no handler.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // With csSetCaption, a caption equal to the old name follows the new name,
    // except while loading.
    void SetName(std::wstring name) override;

protected:
    // Change notifications, called after the value changed.
    virtual void EnabledChanged();
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void VisibleChanged();
    virtual void ParentChanged() {}
    // Parent's font or colour changed; follows it when Parent* is set.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    // Bounds changed (already stored); windowed controls move their window.
    virtual void BoundsChanged(const RECT& oldBounds);
    // The control as the top-level form, for GetParentForm; only a form is one.
    virtual TForm* AsForm() noexcept { return nullptr; }

    // Skips change notifications while a parent copies its font in.
    bool followingParent_ = false;
    // Lets input routing and handlers notice that a handler destroyed the control.
    std::shared_ptr<int> lifeToken_ = std::make_shared<int>(0);

private:
    friend class TWinControl;
    void FontObjectChanged();
    void FollowParentFont();
    void FollowParentColor();

    // The control under the mouse (for enter and leave) and the graphic
    // control holding the mouse capture; neither owned.
    static inline TControl* mouseControl_ = nullptr;
    static inline TControl* captureControl_ = nullptr;

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TWinControl* parent_ = nullptr;  // not owned
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring caption_;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TAlign align_ = TAlign::alNone;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    bool clicked_ = false;  // left button went down on this control
    std::unique_ptr<TControlActionLink> actionLink_;
};

// A control without a window of its own.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // Valid while Paint() runs: the parent's DC, origin moved to this control
    // and clipped to it.
    TCanvas& Canvas() noexcept { return canvas_; }

    // Paints now on the parent's surface. Raises EInvalidOperation
    // ("Control '%s' has no parent window") for a visible control without a
    // parent; does nothing while hidden, loading, or before the parent's
    // window exists (it is painted when the window first paints).
    void Repaint() override;

    void PaintTo(HDC dc) override;

protected:
    virtual void Paint() {}

private:
    TCanvas canvas_;
};
