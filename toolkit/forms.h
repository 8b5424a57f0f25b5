// TForm: a top-level window holding controls. It owns the hint tooltip, keeps
// the active (focused) control, runs keyboard navigation (Tab / Shift+Tab in
// tab order, dialog keys and accelerator characters offered to its controls),
// and turns its layout's design units into pixels for the dpi of the monitor
// it is on, again whenever that dpi changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "toolkit/customcontrol.h"
#include "toolkit/icon.h"

enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };

using TBorderIcons = std::uint8_t;
inline constexpr TBorderIcons biSystemMenu = 1u << 0;
inline constexpr TBorderIcons biMinimize = 1u << 1;
inline constexpr TBorderIcons biMaximize = 1u << 2;

enum class TPosition : std::uint8_t { poDesigned, poDefaultPosOnly, poScreenCenter };

enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// The window class of every form, so that another process can find one.
inline constexpr wchar_t FormWindowClass[] = L"QuenfelForm";

// Scales a designed value by m/d, rounding halves away from zero.
int ScaleValue(int value, int m, int d);

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // bsDialog: close box only, no minimise/maximise box, no caption icon,
    // fixed size. Set before the window is created.
    TFormBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const noexcept { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    // poDefaultPosOnly (the default): the system places the window, the size is kept.
    TPosition Position() const noexcept { return position_; }
    void SetPosition(TPosition value) { position_ = value; }

    // Client size; the outer size follows from the frame.
    RECT ClientRect() const override;
    void SetClientWidth(int value);
    void SetClientHeight(int value);

    TIcon& Icon() noexcept { return icon_; }
    void SetIcon(const TIcon& value) { icon_.Assign(value); }

    // Shows the form (creating its window), brings it to the front and gives
    // the focus to the active control or the first one in tab order.
    void Show();
    void Hide();
    // Asks OnCloseQuery, then OnClose (action caHide by default). The main
    // form ends the application for any action but caNone; other forms hide,
    // minimise or free themselves as the action says.
    void Close();
    // Frees the form once the running handler has returned.
    void Release();
    // Runs a nested loop with the other windows disabled until ModalResult is
    // set (or the application terminates); returns it.
    TModalResult ShowModal();
    TModalResult ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    TWinControl* ActiveControl() const noexcept { return activeControl_; }
    // Records which control has the focus (null: none) without moving it;
    // for the controls' own focus handling and their destruction.
    void SetFocusedControl(TWinControl* control) noexcept;
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    // Tells every control that the focused control changed.
    void NotifyFocusChanged();

    // Layout values are design units, pixels at PixelsPerInch (96). With
    // Scaled (the default), loading turns them into pixels at the system's
    // dpi, the window's creation at the dpi of its monitor, and WM_DPICHANGED
    // at the new one: positions, sizes, fonts, the client size and the
    // components' artwork.
    bool Scaled() const noexcept { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    int PixelsPerInch() const noexcept { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    // The dpi this form's pixels are for now.
    int Dpi() const noexcept { return dpi_; }
    // A design value (a window size, a slide step) in this form's pixels.
    int ScaleDesign(int value) const { return MulDiv(value, dpi_, pixelsPerInch_); }
    // Rescales everything from the current dpi to dpi.
    void ChangeDpi(int dpi);
    // Laid out from right to left, as a program in Arabic or Hebrew is: the
    // window and every window in it mirrored. Changes an open window in place.
    bool RightToLeft() const noexcept { return rightToLeft_; }
    void SetRightToLeft(bool value);
    // Tells every component the language of the texts has changed.
    void NotifyLanguage(TComponent* component);
    // Where the design put control, in design units within its parent, as
    // loaded; an empty rectangle for a control made later.
    RECT DesignBounds(const TControl* control) const;
    // Scales this form's client size and every child's bounds and own font by m/d.
    void ScaleBy(int m, int d);
    // Sets the client area's size, the frame being the system's for this dpi.
    void SetClientSize(int width, int height);

    // The hint text shown for control (a child of this form): its own hint,
    // or its nearest parent's; empty when hints are off for it.
    static std::wstring HintFor(const TControl* control);
    // The tooltip window, made on first use once the form has its window
    // (null before). Raises if it cannot be made.
    HWND HintWindow();
    // The tooltip if made already: mouse messages are relayed to it only then.
    HWND MadeHintWindow() const noexcept { return hintWindow_.Get(); }
    // Points the tooltip at control (null: no hint). Called by mouse routing.
    void UpdateHint(TControl* control);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    bool DialogKey(WORD key, LPARAM keyData) override;
    void ReadingDone() override;
    void AfterLoad() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    TForm* AsForm() noexcept override { return this; }
    // The form moved to a monitor of another dpi and is laid out for it.
    virtual void DpiChangeDone() {}
    void SystemColorsChanged() override;

private:
    void ApplyIcon();
    // A dark title bar while the dark theme is in force, where Windows draws one.
    void ApplyTitleBarTheme();
    void ScaleControl(TControl* control, const RECT& bounds, int m, int d);
    void ScaleChildren(int m, int d);
    void NotifyDpi(TComponent* component);
    // The frame around a client area of nothing, at this form's dpi.
    RECT FrameRect() const;
    bool DpiScaledSize(int dpi, SIZE& size) const;
    void TakeDpiChange(int dpi, const RECT& suggested);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDefaultPosOnly;
    TIcon icon_;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;  // not owned
    bool scaled_ = true;
    bool rightToLeft_ = false;
    bool darkTitleBar_ = false;
    int pixelsPerInch_ = 96;
    int dpi_ = 96;
    bool shownOnce_ = false;
    bool modal_ = false;
    TUniqueWindow hintWindow_;               // destroyed before the form's window
    const TControl* hintControl_ = nullptr;  // not owned
    std::vector<std::pair<TControl*, RECT>> designBounds_;  // not owned
};
