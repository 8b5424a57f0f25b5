#include "controls/trayicon.h"

#include <algorithm>
#include <iterator>

#include "controls/traytip.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/forms.h"
#include "toolkit/oserror.h"
#include "toolkit/shell.h"

using enum TMouseButton;
using enum TOperation;

namespace {

constexpr std::uint8_t Bit(TMouseButton b) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(b)); }

}  // namespace

// ---- TTimerThread ----------------------------------------------------------

TTimerThread::TTimerThread(TTrayIcon* owner, std::shared_ptr<TShared> shared)
    : OwnerIcon(owner), shared_(std::move(shared)), stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!stopEvent_) RaiseLastOSError();
}

TTimerThread::~TTimerThread()
{
    Stop();
    try {
        WaitFor();  // no step can be under way once the icon's state goes
    } catch (...) {
        // Never started, so nothing runs; a destructor lets nothing out.
    }
}

void TTimerThread::Stop() noexcept
{
    OwnerIcon = nullptr;
    SetEvent(stopEvent_.Get());
    try {
        Terminate();  // also ends a pause: a terminated thread passes PausePoint
    } catch (...) {
    }
}

bool TTimerThread::PostStep(HWND window, UINT message, WPARAM generation)
{
    return PostMessageW(window, message, generation, 0) != FALSE;
}

void TTimerThread::Execute()
{
    while (!Terminated()) {
        PausePoint();
        if (Terminated()) break;
        // The pause between steps ends early when the animation is stopped. It
        // is never shorter than a window timer's, so that even an Interval of
        // 0 leaves the user-interface thread's queue room to drain.
        const DWORD pause = std::max<DWORD>(shared_->Interval.load(), USER_TIMER_MINIMUM);
        if (WaitForSingleObject(stopEvent_.Get(), pause) != WAIT_TIMEOUT) break;
        if (Terminated() || OwnerIcon.load() == nullptr) break;
        // One step in flight at a time: a busy user-interface thread gets no
        // backlog of steps, and an Interval of 0 cannot flood its queue.
        // A step that could not be posted is dropped, not left pending: the
        // next pause tries again instead of waiting for it for ever.
        if (!shared_->Pending.exchange(true) && !PostStep(shared_->Window, shared_->StepMessage, shared_->Generation))
            shared_->Pending = false;
    }
}

// ---- TTrayIcon -------------------------------------------------------------

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner)
{
    // Sent to every top-level window when the taskbar is created again (the
    // shell restarted): the icon must be added anew or a program hidden in
    // the tray can no longer be reached.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    icon_.OnChange = [this](TObject*) { RefreshTray(); };
    icons_.OnChange = [this](TObject*) { RefreshTray(); };
    NotifyData.cbSize = TrayNotifyDataSize;
}

HWND TTrayIcon::WindowHandle()
{
    // Made when the icon or its animation first needs it: a start that never
    // shows the icon costs no window.
    if (!window_)
        window_ = std::make_unique<TUtilityWindow>(
            [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return TrayWndProc(w, m, wp, lp); }, TrayIconWindowClass);
    return window_->Handle();
}

TTrayIcon::~TTrayIcon()
{
    MarkDestroying();
    enabled_ = false;
    icon_.OnChange = nullptr;
    icons_.OnChange = nullptr;
    animated_ = false;
    StopAnimationThread();
    // Nothing may leave a destructor; the window goes whatever the shell did.
    try {
        RemoveFromTray();
    } catch (...) {
    }
    try {
        window_.reset();
    } catch (...) {
    }
}

void TTrayIcon::SetActive(bool value)
{
    if (value == active_) return;
    active_ = value;
    if (value)
        AddToTray();
    else
        RemoveFromTray();
}

void TTrayIcon::SetHint(const std::wstring& value)
{
    // The window assigns the same text every second: no shell call for it.
    if (value == hint_) return;
    hint_ = value;
    RefreshTray(NIF_TIP);
}

void TTrayIcon::SetIcon(const TIcon* value)
{
    icon_.Assign(value);
}

void TTrayIcon::SetIcons(const TIconList* value)
{
    icons_.CopyContents(value);
}

void TTrayIcon::SetInterval(std::uint16_t value)
{
    if (value == interval_) return;
    interval_ = value;
    if (animationShared_) animationShared_->Interval = value;
}

void TTrayIcon::SetPopupMenu(TPopupMenu* value)
{
    if (popupMenu_ != nullptr && popupMenu_ != value) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (active_) AddToTray();
}

void TTrayIcon::SetAnimated(bool value)
{
    const bool on = value && icons_.Count() > 0;
    if (on == animated_) return;
    if (on) {
        auto shared = std::make_shared<TTimerThread::TShared>();
        shared->Interval = interval_;
        shared->Window = WindowHandle();
        shared->StepMessage = TrayStepMessage;
        shared->Generation = ++animationGeneration_;
        auto thread = NewAnimationThread(shared);
        // The system thread is made here, held while no icon is shown: a
        // creation error (EThread) leaves this setter, and showing the icon
        // later only lets the thread go on, which cannot fail.
        thread->StartPaused();
        if (iconAdded_) thread->Resume();
        animationThread_ = std::move(thread);
        animationShared_ = std::move(shared);
        animated_ = true;
    } else {
        animated_ = false;
        StopAnimationThread();
    }
    frameIndex_ = 0;
    RefreshTray();
}

std::unique_ptr<TTimerThread> TTrayIcon::NewAnimationThread(std::shared_ptr<TTimerThread::TShared> shared)
{
    return std::make_unique<TTimerThread>(this, std::move(shared));
}

void TTrayIcon::StopAnimationThread() noexcept
{
    ++animationGeneration_;  // steps already posted are stale now
    animationThread_.reset();
    animationShared_.reset();
}

void TTrayIcon::AdvanceFrame()
{
    // A paused animation makes no steps: it goes on from this frame once the
    // icon is back.
    if (IsDestroying() || !animated_ || !iconAdded_) return;
    ++frameIndex_;
    if (frameIndex_ >= icons_.Count()) frameIndex_ = 0;
    RefreshTray();
}

const TIcon* TTrayIcon::CurrentIcon() const
{
    const int count = icons_.Count();
    if (count > 0 && animated_) return icons_.Items(std::clamp(frameIndex_, 0, count - 1));
    return &icon_;
}

int TrayIconSize(HWND window)
{
    return SystemMetricForDpi(SM_CXSMICON, WindowDpi(window));
}

void TTrayIcon::FillNotifyRecord(UINT flags)
{
    NotifyData = NOTIFYICONDATAW{};
    NotifyData.cbSize = TrayNotifyDataSize;
    NotifyData.hWnd = WindowHandle();
    NotifyData.uID = 0;
    NotifyData.uFlags = flags;
    NotifyData.uCallbackMessage = TrayCallbackMessage;
    const TIcon* icon = (flags & NIF_ICON) != 0 ? CurrentIcon() : nullptr;
    // At the size the notification area draws it, so the shell never shrinks it.
    NotifyData.hIcon = icon != nullptr ? icon->HandleForSize(TrayIconSize(WindowHandle())) : nullptr;
    const std::wstring tip = TrayTip(hint_);
    const size_t n = std::min(tip.size(), TrayTipMaxLength);
    std::copy_n(tip.begin(), n, NotifyData.szTip);
    NotifyData.szTip[n] = L'\0';
}

void TTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, TBalloonStyle style)
{
    if (!iconAdded_) return;
    // The next record is filled afresh without NIF_INFO, so a later tip
    // change does not show the balloon again.
    FillNotifyRecord();
    NotifyData.uFlags |= NIF_INFO;
    NotifyData.dwInfoFlags = NIIF_INFO;
    if (style == TBalloonStyle::bsQuiet) NotifyData.dwInfoFlags |= NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME;
    NotifyData.uTimeout = 10000;
    auto copyCut = [](const std::wstring& from, wchar_t* to, size_t capacity) {
        const size_t n = std::min(from.size(), capacity - 1);
        std::copy_n(from.begin(), n, to);
        to[n] = L'\0';
    };
    copyCut(title, NotifyData.szInfoTitle, std::size(NotifyData.szInfoTitle));
    copyCut(text, NotifyData.szInfo, std::size(NotifyData.szInfo));
    balloonText_ = text;
    balloonStyle_ = style;
    NotifyShell(NIM_MODIFY, NotifyData);
}

bool TTrayIcon::NotifyShell(DWORD message, NOTIFYICONDATAW& data)
{
    return ShellNotifyIcon(message, data);
}

void TTrayIcon::AddToTray()
{
    RemoveFromTray();  // every add starts from a clean state
    const TIcon* icon = CurrentIcon();
    if (icon == nullptr || icon->Empty()) return;
    pressedButtons_ = 0;
    FillNotifyRecord();
    iconAdded_ = NotifyShell(NIM_ADD, NotifyData);
    if (iconAdded_) {
        // The keyboard's callbacks (Enter or Space on the icon, the menu key)
        // come only to an icon that asks for this version; older shells send
        // a right click instead. A setting of the shell's, not a change of
        // the icon: it is not one of the icon's requests.
        NOTIFYICONDATAW version = NotifyData;
        version.uVersion = NOTIFYICON_VERSION;
        ShellNotifyIcon(NIM_SETVERSION, version);
    }
    if (iconAdded_ && NotifyData.szTip[0] == L'\0') NotifyShell(NIM_MODIFY, NotifyData);
    if (animated_ && animationThread_) animationThread_->Resume();
}

void TTrayIcon::RemoveFromTray()
{
    NotifyShell(NIM_DELETE, NotifyData);
    iconAdded_ = false;
    pressedButtons_ = 0;
    if (animated_ && animationThread_) animationThread_->Pause();
}

void TTrayIcon::RefreshTray(UINT changed)
{
    if (icons_.Count() == 0) SetAnimated(false);
    if (iconAdded_) {
        const TIcon* icon = CurrentIcon();
        if (icon == nullptr || icon->Empty()) {
            RemoveFromTray();
        } else {
            // Only what changed: a new tip alone (every few ticks in the tray)
            // spares the shell a copy of the picture.
            FillNotifyRecord(changed);
            NotifyShell(NIM_MODIFY, NotifyData);
        }
        return;
    }
    // Wanted but not shown (no image yet, or the shell refused): try again.
    if (active_ && !IsDestroying()) AddToTray();
}

LRESULT TTrayIcon::TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TrayCallbackMessage && enabled_) {
        HandleCallback(LOWORD(lParam));
        return 0;
    }
    if (message == TrayStepMessage) {
        if (wParam == animationGeneration_ && animationShared_) {
            animationShared_->Pending = false;
            AdvanceFrame();
        }
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The old icon went with the old taskbar, whatever IconAdded says.
        if (active_ && !IsDestroying()) AddToTray();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TTrayIcon::HandleCallback(UINT mouseMessage)
{
    const UINT previous = lastCallback_;
    lastCallback_ = mouseMessage;
    const TShiftState keys = KeyboardShiftState();
    POINT p{};
    GetCursorPos(&p);
    const int x = p.x, y = p.y;
    auto release = [&](TMouseButton b, TShiftState extra) {
        const TShiftState shift = keys | extra;
        if (pressedButtons_ & Bit(b)) {
            pressedButtons_ &= static_cast<std::uint8_t>(~Bit(b));
            HandleClick(b, shift, x, y);
        }
        HandleMouseUp(b, shift, x, y);
    };
    switch (mouseMessage) {
    case WM_MOUSEMOVE: HandleMouseMove(keys, x, y); break;
    case WM_LBUTTONDOWN:
        HandleMouseDown(mbLeft, keys | ssLeft, x, y);
        pressedButtons_ |= Bit(mbLeft);
        break;
    case WM_LBUTTONUP: release(mbLeft, ssLeft); break;
    case WM_LBUTTONDBLCLK:
        HandleDblClick();
        HandleMouseDown(mbLeft, keys | ssDouble, x, y);
        break;
    case WM_RBUTTONDOWN:
        HandleMouseDown(mbRight, keys | ssRight, x, y);
        pressedButtons_ |= Bit(mbRight);
        break;
    case WM_RBUTTONUP: release(mbRight, ssRight); break;
    case WM_RBUTTONDBLCLK: HandleMouseDown(mbRight, keys | ssDouble, x, y); break;
    case WM_MBUTTONDOWN: HandleMouseDown(mbMiddle, keys | ssMiddle, x, y); break;
    case WM_MBUTTONUP: HandleMouseUp(mbMiddle, keys | ssMiddle, x, y); break;
    case WM_MBUTTONDBLCLK: HandleMouseDown(mbMiddle, keys | ssDouble, x, y); break;
    // Enter or Space on the icon reached with Win+B and the arrow keys.
    case NIN_KEYSELECT: ShowPopupMenuAtIcon(); break;
    // The menu key or Shift+F10; after a right button's release it only
    // repeats what the release did.
    case WM_CONTEXTMENU:
        if (previous != WM_RBUTTONUP) ShowPopupMenuAtIcon();
        break;
    default: break;
    }
}

void TTrayIcon::HandleDblClick()
{
    if (!ClickDefaultItem()) Fire(OnDblClick, this);
}

void TTrayIcon::HandleClick(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbRight && ShowPopupMenu(x, y)) return;
    Fire(OnClick, this, button, shift, x, y);
}

void TTrayIcon::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Fire(OnMouseDown, this, button, shift, x, y);
}

void TTrayIcon::HandleMouseMove(TShiftState shift, int x, int y)
{
    Fire(OnMouseMove, this, shift, x, y);
}

void TTrayIcon::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Fire(OnMouseUp, this, button, shift, x, y);
}

bool TTrayIcon::IconRect(RECT& rect)
{
    return ShellNotifyIconRect(WindowHandle(), 0, rect);
}

void TTrayIcon::ShowPopupMenuAtIcon()
{
    RECT icon{};
    POINT at{};
    if (IconRect(icon))
        at = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    else
        GetCursorPos(&at);
    ShowPopupMenu(at.x, at.y, true);
}

bool TTrayIcon::ShowPopupMenu(int x, int y, bool fromKeyboard)
{
    if (!active_ || popupMenu_ == nullptr || !popupMenu_->AutoPopup()) return false;
    // Open from here on, before anything pumps messages: Enter sends its
    // selection twice, and the second, handled in that pump, must find the
    // menu open rather than open a second one inside the first.
    if (menuOpen_) return true;
    menuOpen_ = true;
    struct TOpen {
        bool& flag;
        ~TOpen() { flag = false; }
    } open{menuOpen_};
    popupMenu_->SetPopupComponent(this);
    if (!IsDestroying()) {
        // Whatever the user was dragging or pressing in our windows ends first.
        HWND form = GetActiveWindow();
        if (form == nullptr && Application->MainForm() != nullptr && Application->MainForm()->HandleAllocated())
            form = Application->MainForm()->WindowHandle();
        if (form != nullptr) SendMessageW(form, WM_CANCELMODE, 0, 0);
    }
    const bool chosen = PopupInForeground(x, y);
    // Escape from a menu opened on the keyboard: the user goes on in the
    // notification area, where the menu came from.
    if (fromKeyboard && !chosen && iconAdded_ && !IsDestroying()) NotifyShell(NIM_SETFOCUS, NotifyData);
    return true;
}

bool TTrayIcon::PopupInForeground(int x, int y)
{
    HWND hidden = WindowHandle();
    // A menu only closes on a click elsewhere when its thread owns the
    // foreground; the hidden window takes it for the menu's lifetime.
    if (IsWindowEnabled(hidden)) SetForegroundWindow(hidden);
    Application->ProcessMessages();
    struct TAfterMenu {
        HWND hidden;
        ~TAfterMenu()
        {
            if (IsWindowEnabled(hidden)) SetForegroundWindow(hidden);
            // Lets the foreground switch settle, so the next right click opens
            // the menu again instead of being swallowed.
            PostMessageW(hidden, WM_NULL, 0, 0);
        }
    } after{hidden};
    // A handler may have dropped the menu meanwhile.
    return popupMenu_ != nullptr && popupMenu_->Popup(x, y);
}

bool TTrayIcon::ClickDefaultItem()
{
    if (!active_ || popupMenu_ == nullptr) return false;
    TMenuItem* item = popupMenu_->DefaultItem();
    if (item == nullptr) return false;
    item->Click();
    return true;
}
