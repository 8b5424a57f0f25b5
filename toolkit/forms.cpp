#include "toolkit/forms.h"

#include <algorithm>

#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/commoncontrols.h"
#include "toolkit/dpi.h"
#include "toolkit/errors.h"
#include "toolkit/shorthint.h"
#include "toolkit/systemlibrary.h"
#include "toolkit/theme.h"

using enum TOperation;
using enum TFormBorderStyle;
using enum TPosition;
using enum TCloseAction;

int ScaleValue(int value, int m, int d)
{
    if (d == 0) return value;
    const long long n = static_cast<long long>(value) * m;
    const long long q = (n >= 0 ? n + d / 2 : n - d / 2) / d;
    return static_cast<int>(q);
}

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM list)
{
    if (IsWindowVisible(w) && IsWindowEnabled(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}

}  // namespace

TForm::TForm(TComponent* owner) : TCustomControl(owner)
{
    SetVisible(false);
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption);
    SetBounds(0, 0, 320, 240);
    icon_.OnChange = [this](TObject*) { ApplyIcon(); };
    if (owner == Application) Application->FormCreating(this);
}

TForm::~TForm()
{
    MarkDestroying();
    try {
        Fire(OnDestroy, this);
    } catch (...) {
        Application->HandleException(this);
    }
    if (Application->MainForm() == this) Application->MainFormVisibilityChanged(false);
}

void TForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == borderStyle_) return;
    borderStyle_ = value;
    if (HandleAllocated()) throw EInvalidOperation(L"The frame cannot change once the window exists");
}

void TForm::SetBorderIcons(TBorderIcons value)
{
    borderIcons_ = value;
}

void TForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.WinClassName = FormWindowClass;
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = rightToLeft_ ? WS_EX_LAYOUTRTL : 0;
    const bool sysMenu = (borderIcons_ & biSystemMenu) != 0;
    switch (borderStyle_) {
    case bsNone:
        p.Style |= WS_POPUP;
        break;
    case bsDialog:
        // The dialog frame keeps only the system menu: a close box, no
        // minimise or maximise box and no caption icon.
        p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME | (sysMenu ? WS_SYSMENU : 0);
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        p.Style |= WS_POPUP | WS_CAPTION | (sysMenu ? WS_SYSMENU : 0);
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSingle:
    case bsSizeable:
        p.Style |= WS_CAPTION | (borderStyle_ == bsSizeable ? WS_THICKFRAME : WS_BORDER);
        if (sysMenu) {
            p.Style |= WS_SYSMENU;
            if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
        }
        break;
    }
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.X = Left();
    p.Y = Top();
    if (position_ == poDefaultPosOnly && borderStyle_ != bsNone) {
        // The system only picks a position for overlapped windows.
        p.Style &= ~static_cast<DWORD>(WS_POPUP);
        p.X = p.Y = CW_USEDEFAULT;
    } else if (position_ == poScreenCenter) {
        p.X = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
        p.Y = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    }
    p.WndParent = Application->Handle();
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    // The system may place the window on a monitor of another dpi.
    if (scaled_) ChangeDpi(WindowDpi(WindowHandle()));
    ApplyIcon();
    darkTitleBar_ = false;
    ApplyTitleBarTheme();
}

void TForm::SystemColorsChanged()
{
    TCustomControl::SystemColorsChanged();
    ApplyTitleBarTheme();
    // A window this one opened takes the program's theme with it.
    for (std::size_t i = 0; i < ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TForm*>(Components(i)); form != nullptr && form->Parent() == nullptr)
            form->FollowSystemColors();
}

void TForm::ApplyTitleBarTheme()
{
    const bool dark = DarkTheme();
    if (dark == darkTitleBar_ || !HandleAllocated()) return;
    // DWMWA_USE_IMMERSIVE_DARK_MODE: documented from Windows 10 20H1 on. An
    // older Windows, or one without the library, keeps its light title bar.
    constexpr DWORD kUseImmersiveDarkMode = 20;
    using TSetAttribute = HRESULT WINAPI(HWND, DWORD, LPCVOID, DWORD);
    auto* setAttribute = OptionalSystemEntry<TSetAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
    if (setAttribute == nullptr) return;
    const BOOL value = dark ? TRUE : FALSE;
    if (SUCCEEDED(setAttribute(WindowHandle(), kUseImmersiveDarkMode, &value, sizeof value))) darkTitleBar_ = dark;
}

HWND TForm::HintWindow()
{
    // Made for the first hint: a form whose controls show none never loads
    // the common controls for it.
    if (hintWindow_ || !HandleAllocated()) return hintWindow_.Get();
    RegisterCommonControls(ICC_BAR_CLASSES);
    hintWindow_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, WindowHandle(),
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!hintWindow_) RaiseLastOSError();
    SendMessageW(hintWindow_.Get(), TTM_SETMAXTIPWIDTH, 0, 400);
    return hintWindow_.Get();
}

void TForm::DestroyWnd()
{
    hintWindow_.Reset();
    hintControl_ = nullptr;
    TWinControl::DestroyWnd();
}

void TForm::ApplyIcon()
{
    if (!HandleAllocated()) return;
    // The main form's icon is the program's on the taskbar and in Alt+Tab,
    // whose button is the application window's (its class icon is the large
    // one, which the taskbar would shrink).
    const bool program = Application->MainForm() == this;
    // The dialog frame shows no icon; other frames show the form's own.
    const bool own = borderStyle_ != bsDialog;
    HICON big = nullptr, small = nullptr;
    if (program || own) {
        // Each at the size the system draws it at this dpi, never stretched by it.
        big = icon_.HandleForSize(SystemMetricForDpi(SM_CXICON, dpi_));
        small = icon_.HandleForSize(SystemMetricForDpi(SM_CXSMICON, dpi_));
    }
    if (program) {
        SendMessageW(Application->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageW(Application->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own ? big : nullptr));
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own ? small : nullptr));
}

RECT TForm::FrameRect() const
{
    DWORD style, exStyle;
    if (HandleAllocated()) {
        style = static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE));
    } else {
        TCreateParams p;
        const_cast<TForm*>(this)->CreateParams(p);
        style = p.Style;
        exStyle = p.ExStyle;
    }
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, style, exStyle, dpi_);
    return frame;
}

RECT TForm::ClientRect() const
{
    if (HandleAllocated()) {
        RECT r;
        GetClientRect(WindowHandle(), &r);
        return r;
    }
    const RECT frame = FrameRect();
    return {0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top)};
}

void TForm::SetClientWidth(int value)
{
    SetWidth(Width() - ClientRect().right + value);
}

void TForm::SetClientHeight(int value)
{
    SetHeight(Height() - ClientRect().bottom + value);
}

void TForm::SetClientSize(int width, int height)
{
    const RECT client = ClientRect();
    const int outer = Width() - client.right + width;
    // A mirrored window keeps its right edge, where its reading starts, as
    // long as its monitor's work area leaves room on the left.
    int left = Left();
    if (rightToLeft_) {
        left += Width() - outer;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (HandleAllocated() &&
            GetMonitorInfoW(MonitorFromWindow(WindowHandle(), MONITOR_DEFAULTTONEAREST), &monitor))
            left = std::max<int>(left, std::min<int>(Left(), monitor.rcWork.left));
    }
    SetBounds(left, Top(), outer, Height() - client.bottom + height);
    // Everything in it is placed from that edge: all of it moved.
    if (rightToLeft_ && HandleAllocated() && width != client.right)
        RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm::Show()
{
    SetVisible(true);
    if (HandleAllocated()) {
        SetForegroundWindow(WindowHandle());
        BringWindowToTop(WindowHandle());
    }
}

void TForm::Hide()
{
    SetVisible(false);
}

void TForm::VisibleChanged()
{
    std::weak_ptr<int> alive = lifeToken_;
    if (Visible()) {
        Handle();
        CreateChildHandles();  // a form made hidden has none yet
        ShowWindow(WindowHandle(), SW_SHOW);
        if (Application->MainForm() == this) Application->MainFormVisibilityChanged(true);
        Fire(OnShow, this);
        if (alive.expired()) return;
        if (activeControl_ == nullptr && !shownOnce_) SelectNext(nullptr, true, true);
        shownOnce_ = true;
        if (activeControl_ != nullptr && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
    } else {
        if (HandleAllocated()) ShowWindow(WindowHandle(), SW_HIDE);
        if (Application->MainForm() == this) Application->MainFormVisibilityChanged(false);
        Fire(OnHide, this);
    }
}

void TForm::Close()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: if (HandleAllocated()) ShowWindow(WindowHandle(), SW_MINIMIZE); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TForm::Release()
{
    if (HandleAllocated())
        PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
    else
        Free();
}

TModalResult TForm::ShowModal()
{
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation(L"Cannot make a visible window modal");
    // Every other enabled window of this thread waits until the form is done.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND w : disabled) EnableWindow(w, FALSE);
    struct TRestore {
        std::vector<HWND>& windows;
        ~TRestore()
        {
            for (HWND w : windows)
                if (IsWindow(w)) EnableWindow(w, TRUE);
        }
    } restore{disabled};
    std::weak_ptr<int> alive = lifeToken_;
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        while (!alive.expired() && modalResult_ == mrNone && !Application->Terminated()) Application->HandleMessage();
    } catch (...) {
        if (!alive.expired()) {
            modal_ = false;
            Hide();
        }
        throw;
    }
    if (alive.expired()) return mrCancel;
    modal_ = false;
    const TModalResult result = modalResult_;
    Hide();
    return result;
}

void TForm::SetFocusedControl(TWinControl* control) noexcept
{
    activeControl_ = control;
}

void TForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    std::vector<TWinControl*> list = TabOrderList();
    if (list.empty()) return;
    if (!forward) std::reverse(list.begin(), list.end());
    auto start = std::find(list.begin(), list.end(), current);
    const std::size_t n = list.size();
    std::size_t index = start == list.end() ? n - 1 : static_cast<std::size_t>(start - list.begin());
    for (std::size_t step = 1; step <= n; ++step) {
        TWinControl* c = list[(index + step) % n];
        if (c == current) break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop())) {
            if (Showing())
                c->SetFocus();
            else
                activeControl_ = c;
            return;
        }
    }
}

void TForm::NotifyFocusChanged()
{
    FocusChanged(activeControl_);
}

bool TForm::DialogKey(WORD key, LPARAM keyData)
{
    const bool alt = (HIWORD(keyData) & KF_ALTDOWN) != 0 || GetKeyState(VK_MENU) < 0;
    if (key == VK_TAB && !alt && GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
        return true;
    }
    return TWinControl::DialogKey(key, keyData);
}

void TForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case CM_RELEASE:
        Free();  // nothing of this object may be touched after this
        return;
    case WM_DESTROY:
        // The tooltip is owned by this window and goes with it, whoever
        // destroys it; its handle must not be destroyed again later.
        hintWindow_.Release();
        hintControl_ = nullptr;
        break;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) != WA_INACTIVE && activeControl_ != nullptr && activeControl_->HandleAllocated() &&
            activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->WindowHandle());
            m.Result = 0;
            return;
        }
        break;
    case WM_SETFOCUS:
        if (activeControl_ != nullptr && activeControl_->HandleAllocated() && activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->WindowHandle());
            return;
        }
        break;
    case WM_GETDPISCALEDSIZE: {
        SIZE size{};
        if (!DpiScaledSize(LOWORD(m.WParam), size)) break;
        *reinterpret_cast<SIZE*>(m.LParam) = size;
        m.Result = TRUE;
        return;
    }
    case WM_DPICHANGED:
        TakeDpiChange(HIWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
        m.Result = 0;
        return;
    case WM_SYSCOMMAND:
        if ((m.WParam & kSysCommandMask) == SC_MINIMIZE && Application->MainForm() == this) {
            Application->Minimize();
            m.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove) {
        if (component == activeControl_) activeControl_ = nullptr;
        if (component == hintControl_) UpdateHint(nullptr);
    }
}

std::wstring TForm::HintFor(const TControl* control)
{
    // The nearest control (itself or a parent) that shows hints, then the
    // nearest hint text from there up.
    const TControl* shower = control;
    while (shower != nullptr && !shower->ShowHint()) shower = shower->Parent();
    for (const TControl* c = shower; c != nullptr; c = c->Parent())
        if (!c->Hint().empty()) return std::wstring(ShortHint(c->Hint()));
    return {};
}

void TForm::UpdateHint(TControl* control)
{
    if (control == hintControl_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    if (hintControl_ != nullptr) {
        ti.hwnd = hintControl_->SurfaceHandle();
        ti.uId = 1;
        SendMessageW(hintWindow_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    hintControl_ = nullptr;
    if (control == nullptr || control->SurfaceHandle() == nullptr) return;
    std::wstring text = HintFor(control);
    if (text.empty() || HintWindow() == nullptr) return;
    hintControl_ = control;
    ti.uFlags = TTF_TRANSPARENT;
    ti.hwnd = control->SurfaceHandle();
    ti.uId = 1;
    const POINT origin = control->SurfaceOrigin();
    ti.rect = {origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
    ti.hinst = nullptr;
    ti.lpszText = text.data();
    SendMessageW(hintWindow_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

namespace {

void CollectBounds(TWinControl* parent, std::vector<std::pair<TControl*, RECT>>& list)
{
    for (std::size_t i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        list.emplace_back(c, c->BoundsRect());
        if (auto* windowed = dynamic_cast<TWinControl*>(c)) CollectBounds(windowed, list);
    }
}

}  // namespace

void TForm::ReadingDone()
{
    CollectBounds(this, designBounds_);
    dpi_ = pixelsPerInch_;
    if (scaled_) ChangeDpi(SystemDpi());
}

void TForm::ChangeDpi(int dpi)
{
    if (dpi <= 0 || dpi == dpi_) return;
    // The client area is the design's; the frame is the system's at each dpi.
    const RECT client = ClientRect();
    const int old = dpi_;
    dpi_ = dpi;
    SetClientSize(ScaleValue(client.right, dpi, old), ScaleValue(client.bottom, dpi, old));
    ScaleChildren(dpi, old);
    NotifyDpi(this);
    ApplyIcon();
}

namespace {

BOOL CALLBACK SetChildLayout(HWND window, LPARAM rightToLeft)
{
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, rightToLeft ? (style | WS_EX_LAYOUTRTL) : (style & ~WS_EX_LAYOUTRTL));
    return TRUE;
}

// Puts every windowed control where it is in its parent's coordinates, which
// a change of layout has mirrored under it.
void PlaceAgain(TWinControl* parent)
{
    for (std::size_t i = 0; i < parent->ControlCount(); ++i) {
        auto* windowed = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (windowed == nullptr || !windowed->HandleAllocated()) continue;
        SetWindowPos(windowed->WindowHandle(), nullptr, windowed->Left(), windowed->Top(), windowed->Width(),
                     windowed->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        PlaceAgain(windowed);
    }
}

}  // namespace

void TForm::SetRightToLeft(bool value)
{
    if (rightToLeft_ == value) return;
    rightToLeft_ = value;
    if (!HandleAllocated()) return;
    // Windows made later take the layout of their parent.
    SetChildLayout(WindowHandle(), value);
    EnumChildWindows(WindowHandle(), SetChildLayout, value);
    PlaceAgain(this);
    RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TForm::NotifyLanguage(TComponent* component)
{
    for (std::size_t i = 0; i < component->ComponentCount(); ++i) {
        TComponent* c = component->Components(i);
        c->LanguageChanged();
        NotifyLanguage(c);
    }
}

void TForm::NotifyDpi(TComponent* component)
{
    for (std::size_t i = 0; i < component->ComponentCount(); ++i) {
        TComponent* c = component->Components(i);
        c->DpiChanged(dpi_);
        NotifyDpi(c);
    }
}

bool TForm::DpiScaledSize(int dpi, SIZE& size) const
{
    // Asked before WM_DPICHANGED, so that the size the system suggests
    // there keeps the client area exact however the frame scales.
    if (!scaled_ || dpi <= 0) return false;
    const RECT client = ClientRect();
    RECT outer{0, 0, ScaleValue(client.right, dpi, dpi_), ScaleValue(client.bottom, dpi, dpi_)};
    AdjustWindowRectForDpi(outer, static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE)), dpi);
    size = {outer.right - outer.left, outer.bottom - outer.top};
    return true;
}

void TForm::TakeDpiChange(int dpi, const RECT& suggested)
{
    if (scaled_ && dpi > 0 && dpi != dpi_) {
        const int old = dpi_;
        dpi_ = dpi;
        ScaleChildren(dpi, old);
        NotifyDpi(this);
        ApplyIcon();
    }
    // The suggested rectangle keeps the window under the pointer while it is
    // dragged across monitors; a size of our own could bounce it back.
    SetBounds(suggested.left, suggested.top, suggested.right - suggested.left, suggested.bottom - suggested.top);
    DpiChangeDone();
}

RECT TForm::DesignBounds(const TControl* control) const
{
    for (const auto& [c, bounds] : designBounds_)
        if (c == control) return bounds;
    return {};
}

void TForm::ScaleControl(TControl* control, const RECT& bounds, int m, int d)
{
    const int left = ScaleValue(bounds.left, m, d);
    const int top = ScaleValue(bounds.top, m, d);
    // Scaling the far edges keeps neighbouring controls touching.
    const int right = ScaleValue(bounds.right, m, d);
    const int bottom = ScaleValue(bounds.bottom, m, d);
    control->SetBounds(left, top, right - left, bottom - top);
    if (!control->ParentFont()) {
        control->Font().SetHeight(ScaleValue(control->Font().Height(), m, d));
    }
}

void TForm::ScaleChildren(int m, int d)
{
    Font().SetHeight(ScaleValue(Font().Height(), m, d));
    // Every control from where it was before any moved: a parent's new size
    // re-docks its aligned children at their old sizes first.
    std::vector<std::pair<TControl*, RECT>> all;
    CollectBounds(this, all);
    for (const auto& [control, bounds] : all) ScaleControl(control, bounds, m, d);
}

void TForm::ScaleBy(int m, int d)
{
    if (m == d || d == 0) return;
    const RECT client = ClientRect();
    SetClientSize(ScaleValue(client.right, m, d), ScaleValue(client.bottom, m, d));
    ScaleChildren(m, d);
}

void TForm::AfterLoad()
{
    Application->FormLoaded(this);
    // Like any other handler: an error is reported, the rest of the handler
    // is skipped and the form goes on to be shown. Letting it out would end
    // the program on every start, before the user could reach the setting
    // that causes it.
    CatchAll(this, [this] { Fire(OnCreate, this); });
}
