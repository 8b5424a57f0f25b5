// TTrayIcon: one icon in the taskbar notification area. Keeps its tip and
// image current, turns the shell's mouse callbacks into events, opens its
// popup menu on a right click and runs the menu's default item on a left
// double click. It can animate through an icon list on a worker thread.
// Active only adds or removes the icon: showing and hiding windows is the
// caller's business.
//
//   TrayIcon = CreateComponent<TTrayIcon>(form);   // owned by the form
//   TrayIcon->SetActive(false);
//   TrayIcon->SetHint(L"Quenfel");
//   TrayIcon->Icon().LoadFromResourceID(instance, IDI_QUENFEL);
//   load.Fixup([this] { TrayIcon->SetPopupMenu(PopupMenuIcon); });
//   ...
//   TrayIcon->SetActive(true);  Hide();             // to the tray
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/iconlist.h"
#include "toolkit/component.h"
#include "toolkit/icon.h"
#include "toolkit/menus.h"
#include "toolkit/thread.h"
#include "toolkit/utilwindow.h"

// The small-icon size of the notification area, for the window that shows
// the icon at its monitor's dpi: the one place that asks, for the program's
// icon and the drawn figure alike.
int TrayIconSize(HWND window);

class TTrayIcon;

// How a balloon asks for attention: with the shell's sound, or silently and
// not while the user has asked for quiet (a report nobody asked for).
enum class TBalloonStyle : std::uint8_t { bsAnnounce, bsQuiet };

// The shell's mouse callbacks arrive as this private message on the hidden window.
inline constexpr UINT TrayCallbackMessage = 0xB054;
// The size of every record handed to the shell: the layout that carries a
// balloon (Windows 2000 and later); the first layout has no balloon fields.
inline constexpr DWORD TrayNotifyDataSize = NOTIFYICONDATAW_V2_SIZE;
// The window class of the hidden window, so that tools can find it.
inline constexpr wchar_t TrayIconWindowClass[] = L"TTrayIconWindow";
// Posted by the animation thread to the hidden window: one step, with the
// animation's generation in wParam.
inline constexpr UINT TrayStepMessage = WM_APP + 1;

// Steps an animated tray icon: every Interval milliseconds it posts one step
// to the icon's hidden window, where the step runs on the user-interface
// thread like every other change of the icon, so nothing needs a lock.
class TTimerThread : public TThread {
public:
    struct TShared {
        std::atomic<unsigned> Interval{150};
        HWND Window = nullptr;     // the hidden window steps are posted to
        UINT StepMessage = 0;
        WPARAM Generation = 0;     // tells a stale step of an earlier animation apart
        std::atomic<bool> Pending{false};  // a step is posted and not yet handled
    };
    TTimerThread(TTrayIcon* owner, std::shared_ptr<TShared> shared);
    // Stops and waits for the loop; never throws.
    ~TTimerThread() override;
    // Ends the loop at once, also in the middle of a pause between steps. A
    // thread that never started is not started by it.
    void Stop() noexcept;

    // The icon being stepped; null once the animation ends.
    std::atomic<TTrayIcon*> OwnerIcon;

protected:
    void Execute() override;
    // Hands one step to the user-interface thread; false when the post failed.
    virtual bool PostStep(HWND window, UINT message, WPARAM generation);

private:
    std::shared_ptr<TShared> shared_;
    TUniqueKernelHandle stopEvent_;
};

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    // The icon is wanted in the notification area.
    bool Active() const noexcept { return active_; }
    void SetActive(bool value);
    // Off: the shell's callbacks fire nothing (the icon stays).
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    // The tip is the part before the first "|", cut to 63 characters; it goes
    // to the shell only when the text changes.
    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& value);
    // The still image, owned; SetIcon copies (null empties it). With no image
    // nothing is shown.
    TIcon& Icon() noexcept { return icon_; }
    void SetIcon(const TIcon* value);
    // Frames of the animation, owned; SetIcons copies (null clears).
    TIconList& Icons() noexcept { return icons_; }
    void SetIcons(const TIconList* value);
    // Only ever true while Icons holds a frame.
    bool Animated() const noexcept { return animated_; }
    void SetAnimated(bool value);
    // Milliseconds between two animation steps; read before each pause.
    std::uint16_t Interval() const noexcept { return interval_; }
    void SetInterval(std::uint16_t value);
    TPopupMenu* PopupMenu() const noexcept { return popupMenu_; }  // not owned
    void SetPopupMenu(TPopupMenu* value);

    // Shows text in a balloon over the icon, with title above it; the shell
    // decides how long. Nothing is shown while the icon is not in the tray.
    void ShowBalloon(const std::wstring& title, const std::wstring& text,
                     TBalloonStyle style = TBalloonStyle::bsAnnounce);
    // The text of the last balloon handed to the shell.
    const std::wstring& BalloonText() const noexcept { return balloonText_; }
    TBalloonStyle BalloonStyle() const noexcept { return balloonStyle_; }

    // The shell accepted the last add and no remove followed.
    bool IconAdded() const noexcept { return iconAdded_; }
    int FrameIndex() const noexcept { return frameIndex_; }
    // Steps posted with another generation belong to an earlier animation.
    WPARAM AnimationGeneration() const noexcept { return animationGeneration_; }
    // The hidden window the shell and the animation talk to, made on first use.
    HWND WindowHandle();

    TMouseEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Called by the animation: the next frame.
    void AdvanceFrame();

protected:
    // Fills NotifyData for an add or modify of what flags name; the picture
    // is looked up only when NIF_ICON is among them.
    virtual void FillNotifyRecord(UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP);
    // Every request to the shell passes here.
    virtual bool NotifyShell(DWORD message, NOTIFYICONDATAW& data);
    // Where the shell shows the icon, for a menu opened from the keyboard;
    // false when it cannot tell.
    virtual bool IconRect(RECT& rect);
    // Makes the (not yet started) thread of a new animation.
    virtual std::unique_ptr<TTimerThread> NewAnimationThread(std::shared_ptr<TTimerThread::TShared> shared);

    virtual void HandleDblClick();
    virtual void HandleClick(TMouseButton button, TShiftState shift, int x, int y);
    virtual void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void HandleMouseMove(TShiftState shift, int x, int y);
    virtual void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // The record of every shell request. The W form, sized by
    // TrayNotifyDataSize: tips and the module path may hold characters outside the ANSI code
    // page, which the A form would turn into question marks.
    NOTIFYICONDATAW NotifyData{};

private:
    void AddToTray();
    void RemoveFromTray();
    // Hands the shell what changed (NIF_ICON, NIF_TIP), or adds the icon
    // when it is wanted but not shown.
    void RefreshTray(UINT changed = NIF_ICON | NIF_TIP);
    const TIcon* CurrentIcon() const;
    // Opens the menu at (x, y); one opened from the keyboard hands the focus
    // back to the notification area when it is cancelled.
    bool ShowPopupMenu(int x, int y, bool fromKeyboard = false);
    void ShowPopupMenuAtIcon();
    // Shows the menu with the hidden window in the foreground; true when an
    // item was chosen.
    bool PopupInForeground(int x, int y);
    bool ClickDefaultItem();
    LRESULT TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void HandleCallback(UINT mouseMessage);
    void StopAnimationThread() noexcept;

    bool active_ = true;
    bool enabled_ = true;
    std::wstring hint_;
    std::wstring balloonText_;
    TBalloonStyle balloonStyle_ = TBalloonStyle::bsAnnounce;
    TIcon icon_;
    TIconList icons_;
    bool animated_ = false;
    std::uint16_t interval_ = 150;
    TPopupMenu* popupMenu_ = nullptr;  // not owned; cleared when the menu goes
    bool iconAdded_ = false;
    std::uint8_t pressedButtons_ = 0;  // bit per TMouseButton seen going down on the icon
    int frameIndex_ = -1;
    std::unique_ptr<TUtilityWindow> window_;
    std::unique_ptr<TTimerThread> animationThread_;
    std::shared_ptr<TTimerThread::TShared> animationShared_;
    WPARAM animationGeneration_ = 0;
    UINT taskbarCreated_ = 0;
    UINT lastCallback_ = 0;  // the shell's previous callback
    bool menuOpen_ = false;
};
