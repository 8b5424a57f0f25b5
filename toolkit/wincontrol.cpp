#include "toolkit/wincontrol.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "toolkit/accessibleobject.h"
#include "toolkit/application.h"
#include "toolkit/commoncontrols.h"
#include "toolkit/errors.h"
#include "toolkit/forms.h"
#include "toolkit/highcontrast.h"
#include "toolkit/paintbuffer.h"
#include "toolkit/screen.h"
#include "toolkit/theme.h"
#include "toolkit/themedraw.h"

using enum TAlign;

namespace {

constexpr wchar_t kDefaultClass[] = L"QuenfelWindow";
constexpr wchar_t kControlProperty[] = L"QuenfelControl";
constexpr UINT_PTR kSubclassId = 1;

bool IsMouseMessage(UINT m)
{
    return m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK;
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    MarkDestroying();
    if (TForm* form = GetParentForm(); form != nullptr && form != this && form->ActiveControl() == this)
        form->SetFocusedControl(nullptr);
    DestroyHandle();
    ReleaseAccessible();
    // Children owned elsewhere outlive their parent here: they lose it, not their life.
    for (TControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
}

TWinControl* TWinControl::FindControl(HWND window)
{
    if (window == nullptr) return nullptr;
    // A window of another process (one under the mouse, say) may carry a
    // property of the same name or share a class name; its values are not
    // pointers into this process.
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) == 0 || process != GetCurrentProcessId()) return nullptr;
    if (auto* p = static_cast<TWinControl*>(GetPropW(window, kControlProperty))) return p;
    if (static_cast<ULONG_PTR>(GetClassLongPtrW(window, GCLP_WNDPROC)) ==
        reinterpret_cast<ULONG_PTR>(&TWindowBinding<TWinControl>::WindowProc))
        return TWindowBinding<TWinControl>::FromWindow(window);
    return nullptr;
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed != nullptr) {
        tabList_.push_back(windowed);
        if (handle_ != nullptr && !creating_ && Visible() && windowed->Visible()) windowed->CreateHandle();
    }
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), windowed), tabList_.end());
        // A window cannot stay inside a parent it no longer belongs to.
        if (!windowed->IsDestroying()) windowed->DestroyHandle();
    }
    if (align_ != alNone || control->Align() != alNone) AlignControls();
}

HWND TWinControl::Handle()
{
    if (handle_ == nullptr) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle()
{
    if (handle_ != nullptr || creating_) return;
    if (Parent() != nullptr && !Parent()->HandleAllocated()) {
        Parent()->CreateHandle();  // creates this control's window too
        if (handle_ != nullptr) return;
    }
    creating_ = true;
    try {
        CreateWnd();
        PlaceAmongSiblings();
        if (Visible()) CreateChildHandles();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
    AlignControls();
}

void TWinControl::CreateChildHandles()
{
    // A child's window is made once the child and this control both show,
    // or when its handle is asked for: a page nobody opens, or a form that
    // starts hidden, costs no child windows.
    for (TWinControl* child : tabList_)
        if (child->Visible() && child->handle_ == nullptr) child->CreateHandle();
}

void TWinControl::PlaceAmongSiblings()
{
    if (Parent() == nullptr) return;
    // New child windows go below their siblings, so windows made together
    // stack in list order. One made later goes where it would have been.
    const auto& siblings = Parent()->tabList_;
    const auto self = std::find(siblings.begin(), siblings.end(), this);
    if (std::none_of(self + 1, siblings.end(), [](const TWinControl* c) { return c->handle_ != nullptr; })) return;
    HWND above = HWND_TOP;
    for (auto it = siblings.begin(); it != self; ++it)
        if ((*it)->handle_ != nullptr) above = (*it)->handle_;
    SetWindowPos(handle_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = Caption();
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle() & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = Parent() != nullptr ? Parent()->handle_ : nullptr;
    p.WinClassName = kDefaultClass;
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && p.WndParent == nullptr)
        throw EInvalidOperation(FormatMessageText(L"Control '%s' has no parent window", Name()));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (p.SystemClass) {
        if (p.CommonControlClasses != 0) RegisterCommonControls(p.CommonControlClasses);
        HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                 p.Height, p.WndParent, nullptr, instance, nullptr);
        if (h == nullptr) RaiseLastOSError();
        handle_ = h;
        SetPropW(h, kControlProperty, this);
        if (!subclassed_) {
            if (!InstallSubclass(h, &TWinControl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
                RemovePropW(h, kControlProperty);
                DestroyWindow(h);
                handle_ = nullptr;
                RaiseLastOSError();
            }
            subclassed_ = true;
        }
    } else {
        static std::set<std::wstring> registered;
        if (!registered.contains(p.WinClassName)) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.style = p.ClassStyle;
            wc.lpfnWndProc = &TWindowBinding<TWinControl>::WindowProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = p.WinClassName.c_str();
            if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
            registered.insert(p.WinClassName);
        }
        HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                 p.Height, p.WndParent, nullptr, instance, this);
        if (h == nullptr) {
            handle_ = nullptr;
            RaiseLastOSError();
        }
    }
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::DestroyWnd()
{
    HWND h = handle_;
    if (h != nullptr) DestroyWindow(h);
}

void TWinControl::DestroyHandle() noexcept
{
    if (handle_ == nullptr) return;
    try {
        DestroyWnd();
    } catch (...) {
        Application->HandleException(this);
    }
    if (handle_ != nullptr) {
        // The window outlived DestroyWnd: make sure no message reaches this object.
        if (subclassed_) {
            RemoveSubclass(handle_, &TWinControl::SubclassProc, kSubclassId);
            RemovePropW(handle_, kControlProperty);
            subclassed_ = false;
        } else {
            TWindowBinding<TWinControl>::Unbind(handle_);
        }
        handle_ = nullptr;
        ReleaseAccessible();
    }
}

void TWinControl::ReleaseAccessible() noexcept
{
    if (accessible_ == nullptr) return;
    TAccessibleObject* object = accessible_;
    accessible_ = nullptr;
    object->Disconnect();
    object->Release();
}

LRESULT TWinControl::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) handle_ = window;  // known before CreateWindowEx returns
    return Dispatch(window, message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR refData) noexcept
{
    auto* self = reinterpret_cast<TWinControl*>(refData);
    try {
        return self->Dispatch(window, message, wParam, lParam);
    } catch (...) {
        Application->HandleException(self);
        return 0;
    }
}

LRESULT TWinControl::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::weak_ptr<int> alive = lifeToken_;
    TMessage m{message, wParam, lParam, 0};
    if (message == WM_NCDESTROY) {
        // Default processing first, then the object forgets the window.
        const bool wasSubclassed = subclassed_;
        if (wasSubclassed) {
            RemoveSubclass(window, &TWinControl::SubclassProc, kSubclassId);
            RemovePropW(window, kControlProperty);
            subclassed_ = false;
            m.Result = DefaultSubclassProc(window, message, wParam, lParam);
        } else {
            TWindowBinding<TWinControl>::Unbind(window);
            m.Result = DefWindowProcW(window, message, wParam, lParam);
        }
        if (handle_ == window) handle_ = nullptr;
        ReleaseAccessible();
        return m.Result;
    }
    WndProc(m);
    (void)alive;
    return m.Result;
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam)
{
    TMessage m{message, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (handle_ == nullptr) {
        m.Result = 0;
        return;
    }
    if (m.Msg >= CN_BASE && m.Msg < CN_END) {
        m.Result = 0;  // a reflected notification nobody handled
        return;
    }
    if (subclassed_)
        m.Result = DefaultSubclassProc(handle_, m.Msg, m.WParam, m.LParam);
    else
        m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSELEAVE:
        HandleMouseLeave();
        break;
    case WM_SETCURSOR:
        if (HandleSetCursor(m)) return;
        break;
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (HandlePaintMessage(m)) return;
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectNotification(m)) return;
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORLISTBOX:
        HandleControlColor(m);
        return;
    case WM_SETFOCUS:
        HandleFocus(true);
        break;
    case WM_KILLFOCUS:
        HandleFocus(false);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        if (HandleKeyMessage(m)) return;
        break;
    case WM_GETOBJECT:
    case CM_ACCESSIBLEACTION:
        if (AnswerAccessibility(*this, m)) return;
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(m);
        UpdateWindowBounds();
        return;
    case WM_NCPAINT:
        if (DarkTheme() && (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
            DefaultHandler(m);
            PaintDarkClientEdge();
            return;
        }
        break;
    case WM_CONTEXTMENU:
        if (OnContextPopup) {
            POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            // From the keyboard (-1, -1): at the control, where the focus is.
            if (static_cast<DWORD>(m.LParam) == 0xFFFFFFFFu) at = ClientToScreen({0, Height()});
            OnContextPopup(this, at);
            m.Result = 0;
            return;
        }
        break;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear these; they tell the controls inside.
        if (Parent() == nullptr) FollowSystemColors();
        break;
    case WM_SETTINGCHANGE:
        // Sent for many settings (the environment, the work area, the
        // taskbar); of them only high contrast changes how controls draw.
        if (Parent() == nullptr && m.WParam == SPI_SETHIGHCONTRAST) FollowSystemColors();
        break;
    default:
        if (IsMouseMessage(m.Msg) && HandleMouseMessage(m)) return;
        break;
    }
    DefaultHandler(m);
}

void TWinControl::HandleMouseLeave()
{
    if (mouseControl_ == nullptr || mouseControl_->SurfaceHandle() != handle_) return;
    TControl* old = mouseControl_;
    mouseControl_ = nullptr;
    if (TForm* form = old->GetParentForm()) form->UpdateHint(nullptr);
    old->MouseLeave();
}

bool TWinControl::HandlePaintMessage(TMessage& m)
{
    if (subclassed_) return false;  // a built-in class paints itself
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;  // PaintWindow covers everything; erasing first only flickers
        return true;
    case WM_PAINT: {
        TPaintDC dc(handle_);
        PaintComposed(dc.Get(), dc.PaintRect());
        break;
    }
    default:  // WM_PRINTCLIENT
        PaintComposed(reinterpret_cast<HDC>(m.WParam), ClientRect());
        break;
    }
    m.Result = 0;
    return true;
}

void TWinControl::PaintComposed(HDC target, const RECT& area)
{
    TPaintBuffer buffer(target, area);
    PaintWindow(buffer.DC());
    PaintControls(buffer.DC(), area);
    buffer.Flush();
}

void TWinControl::HandleControlColor(TMessage& m)
{
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(ShownFontColor()));
    SetBkColor(dc, ColorToRGB(ShownColor()));
    m.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::PaintDarkClientEdge()
{
    // The system's sunken edge is drawn in its light 3D colours: over it, a
    // frame in the dark ones, the field's colour inside it.
    TWindowDC dc(handle_, true);
    RECT r{};
    GetWindowRect(handle_, &r);
    OffsetRect(&r, -r.left, -r.top);
    DrawThemedEdge(dc.Get(), r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FrameRect(dc.Get(), &r, ColorBrush());
}

void TWinControl::FollowSystemColors()
{
    RefreshHighContrast();
    SystemColorsChanged();
    if (handle_ != nullptr) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinControl::SystemColorsChanged()
{
    colorBrush_.Reset();
    // The common controls keep the system colours they paint with; the
    // platform expects their top-level window to pass the news on.
    if (subclassed_ && handle_ != nullptr && Parent() != nullptr) SendMessageW(handle_, WM_SYSCOLORCHANGE, 0, 0);
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->SystemColorsChanged();
}

bool TWinControl::HandleKeyMessage(TMessage& m)
{
    // A handler may change the key, or swallow it by setting it to 0.
    if (m.Msg == WM_CHAR) {
        wchar_t ch = static_cast<wchar_t>(m.WParam);
        KeyPress(ch);
        m.WParam = ch;
    } else {
        WORD key = static_cast<WORD>(m.WParam);
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
            KeyDown(key, KeyboardShiftState());
        else
            KeyUp(key, KeyboardShiftState());
        m.WParam = key;
    }
    if (m.WParam != 0) return false;
    m.Result = 0;
    return true;
}

bool TWinControl::HandleMouseMessage(TMessage& m)
{
    const POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    if (m.Msg == WM_MOUSEWHEEL || m.Msg == WM_MOUSEHWHEEL) return false;  // screen coordinates; not routed

    RelayToHint(m);
    if (m.Msg == WM_MOUSEMOVE) {
        std::weak_ptr<int> alive = lifeToken_;
        TrackHover(pt);
        if (alive.expired()) return true;  // an enter or leave handler freed this control
    }
    return RouteToControl(m, pt);
}

void TWinControl::RelayToHint(const TMessage& m)
{
    TForm* form = GetParentForm();
    if (form == nullptr || form->MadeHintWindow() == nullptr) return;
    MSG relay{handle_, m.Msg, m.WParam, m.LParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relay.pt);
    SendMessageW(form->MadeHintWindow(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

TControl* TWinControl::ControlUnderPointer(POINT pt) const
{
    // Inside our own client area it is ours or a graphic child; under
    // capture the pointer may be anywhere.
    RECT client;
    GetClientRect(handle_, &client);
    if (PtInRect(&client, pt) && GetCapture() != handle_) {
        TControl* graphic = GraphicControlAt(pt, true);
        return graphic != nullptr ? graphic : const_cast<TWinControl*>(this);
    }
    POINT screen = pt;
    ::ClientToScreen(handle_, &screen);
    TWinControl* under = FindControl(WindowFromPoint(screen));
    if (under == nullptr) return nullptr;
    POINT local = screen;
    ::ScreenToClient(under->handle_, &local);
    TControl* graphic = under->GraphicControlAt(local, true);
    return graphic != nullptr ? graphic : under;
}

void TWinControl::TrackHover(POINT pt)
{
    TControl* hover = ControlUnderPointer(pt);
    if (hover != mouseControl_) {
        TControl* old = mouseControl_;
        mouseControl_ = hover;
        std::weak_ptr<int> alive = lifeToken_;
        if (old != nullptr) {
            TForm* oldForm = old->GetParentForm();
            if (oldForm != nullptr && (hover == nullptr || hover->GetParentForm() != oldForm))
                oldForm->UpdateHint(nullptr);
            old->MouseLeave();
        }
        if (alive.expired()) return;
        if (hover != nullptr && mouseControl_ == hover) {
            if (TForm* form = hover->GetParentForm()) form->UpdateHint(hover);
            hover->MouseEnter();
        }
        if (alive.expired()) return;
    }
    // The system tells this window when the pointer leaves it.
    if (hover != nullptr && hover->SurfaceHandle() == handle_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
    }
}

bool TWinControl::RouteToControl(TMessage& m, POINT pt)
{
    TControl* target = nullptr;
    if (captureControl_ != nullptr && captureControl_->Parent() == this)
        target = captureControl_;
    else if (GetCapture() != handle_)
        target = GraphicControlAt(pt);
    if (target != nullptr) {
        target->RouteMouse(m.Msg, m.WParam, pt.x - target->Left(), pt.y - target->Top());
        m.Result = 0;
        return true;
    }
    RouteMouse(m.Msg, m.WParam, pt.x, pt.y);
    return false;  // default processing still runs (built-in controls need it)
}

bool TWinControl::HandleSetCursor(TMessage& m)
{
    if (reinterpret_cast<HWND>(m.WParam) != handle_) return false;
    if (Screen->Cursor() != crDefault) {
        ::SetCursor(TScreen::CursorHandle(Screen->Cursor()));
        m.Result = TRUE;
        return true;
    }
    if (LOWORD(m.LParam) != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* c = GraphicControlAt(p, true);
    TCursor cursor = c != nullptr && c->Cursor() != crDefault ? c->Cursor() : Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(TScreen::CursorHandle(cursor));
    m.Result = TRUE;
    return true;
}

bool TWinControl::ReflectNotification(TMessage& m)
{
    HWND child = nullptr;
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        // Menus leave hwndItem for a menu handle; a control may have no id.
        if (reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (m.WParam != 0) child = GetDlgItem(handle_, static_cast<int>(m.WParam));
        break;
    default:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    }
    if (child == nullptr || child == handle_) return false;
    TWinControl* control = FindControl(child);
    if (control == nullptr) return false;
    m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::PaintWindow(HDC dc)
{
    const RECT r = ClientRect();
    ::FillRect(dc, &r, ColorBrush());
}

void TWinControl::PaintControls(HDC dc, const RECT& clip)
{
    for (TControl* c : controls_) {
        if (c->HasOwnWindow() || !c->Visible()) continue;
        const RECT bounds = c->BoundsRect();
        RECT visible;
        if (!IntersectRect(&visible, &bounds, &clip)) continue;
        TSavedDC saved(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        c->PaintTo(dc);
    }
}

TControl* TWinControl::GraphicControlAt(POINT p, bool allowDisabled) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->HasOwnWindow() || !c->Visible()) continue;
        if (!allowDisabled && !c->Enabled()) continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

HBRUSH TWinControl::ColorBrush()
{
    // Keyed by the colour drawn, not by the TColor: a system colour stands
    // for whatever the user has chosen now.
    const COLORREF rgb = ColorToRGB(ShownColor());
    if (!colorBrush_ || colorBrushRgb_ != rgb) {
        HBRUSH brush = CreateSolidBrush(rgb);
        CheckGdi(brush != nullptr, L"CreateSolidBrush");
        colorBrush_.Reset(brush);
        colorBrushRgb_ = rgb;
    }
    return colorBrush_.Get();
}

POINT TWinControl::SurfaceOrigin() const
{
    return {0, 0};
}

void TWinControl::Invalidate()
{
    if (handle_ != nullptr) InvalidateRect(handle_, nullptr, FALSE);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::Update()
{
    if (handle_ != nullptr) UpdateWindow(handle_);
}

void TWinControl::BoundsChanged(const RECT& oldBounds)
{
    if (handle_ != nullptr) {
        SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (Parent() != nullptr && Align() != alNone) Parent()->AlignControls();
    if (oldBounds.right - oldBounds.left != Width() || oldBounds.bottom - oldBounds.top != Height()) AlignControls();
}

void TWinControl::UpdateWindowBounds()
{
    if (handle_ == nullptr) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent != nullptr && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (r.left == Left() && r.top == Top() && r.right - r.left == Width() && r.bottom - r.top == Height()) return;
    const RECT old = BoundsRect();
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    if (old.right - old.left != width_ || old.bottom - old.top != height_) AlignControls();
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls()
{
    if (IsLoading() || IsDestroying()) return;
    RECT area = ClientRect();
    AdjustClientRect(area);
    auto place = [](TControl* c, int l, int t, int w, int h) { c->TControl::SetBounds(l, t, w, h); };
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != kind || !c->Visible()) continue;
            const int w = area.right - area.left, h = area.bottom - area.top;
            switch (kind) {
            case alTop:
                place(c, area.left, area.top, w, c->Height());
                area.top += c->Height();
                break;
            case alBottom:
                place(c, area.left, area.bottom - c->Height(), w, c->Height());
                area.bottom -= c->Height();
                break;
            case alLeft:
                place(c, area.left, area.top, c->Width(), h);
                area.left += c->Width();
                break;
            case alRight:
                place(c, area.right - c->Width(), area.top, c->Width(), h);
                area.right -= c->Width();
                break;
            case alClient:
                place(c, area.left, area.top, w, h);
                break;
            default:
                break;
            }
        }
    }
}

int TWinControl::TabOrder() const
{
    if (Parent() == nullptr) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (Parent() == nullptr) return;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const int at = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + at, this);
}

void TWinControl::SetTabStop(bool value)
{
    if (value == tabStop_) return;
    tabStop_ = value;
    if (handle_ != nullptr) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(handle_, GWL_STYLE, style);
    }
}

std::vector<TWinControl*> TWinControl::TabOrderList() const
{
    std::vector<TWinControl*> out;
    for (TWinControl* c : tabList_) {
        out.push_back(c);
        auto inner = c->TabOrderList();
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}

bool TWinControl::CanFocus() const
{
    const TForm* form = GetParentForm();
    if (form == nullptr) return false;
    for (const TControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    TForm* form = GetParentForm();
    if (form != this && !form->Showing()) {
        form->SetFocusedControl(this);  // takes the focus when the form shows
        return;
    }
    ::SetFocus(Handle());
}

void TWinControl::PassFocusOn()
{
    TForm* form = GetParentForm();
    if (form == nullptr || form == this) return;
    TWinControl* active = form->ActiveControl();
    const TControl* c = active;
    while (c != nullptr && c != this) c = c->Parent();
    if (c == nullptr) return;
    // Like a Tab from the focused control; with nothing left to take it, the
    // form keeps the keyboard rather than a hidden window.
    form->SelectNext(active, true, true);
    if (form->ActiveControl() == active) {
        form->SetFocusedControl(nullptr);
        if (form->HandleAllocated() && GetFocus() != nullptr && IsChild(form->WindowHandle(), GetFocus()))
            ::SetFocus(form->WindowHandle());
    }
}

bool TWinControl::Focused() const
{
    return handle_ != nullptr && GetFocus() == handle_;
}

void TWinControl::HandleFocus(bool gained)
{
    std::weak_ptr<int> alive = lifeToken_;
    if (gained) {
        TForm* form = GetParentForm();
        if (form != nullptr && form != this && form->ActiveControl() != this) {
            TWinControl* old = form->ActiveControl();
            form->SetFocusedControl(this);
            if (old != nullptr) old->DoExit();
            if (alive.expired()) return;
            DoEnter();
            if (alive.expired()) return;
            form->NotifyFocusChanged();
        }
        if (alive.expired()) return;
        GotFocus();
    } else {
        LostFocus();
    }
}

void TWinControl::DoEnter()
{
    Fire(OnEnter, this);
}

void TWinControl::DoExit()
{
    Fire(OnExit, this);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DialogKey(WORD key, LPARAM keyData)
{
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->DialogKey(key, keyData)) return true;
    return false;
}

bool TWinControl::DialogChar(wchar_t ch, LPARAM keyData)
{
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->DialogChar(ch, keyData)) return true;
    return false;
}

void TWinControl::FocusChanged(TWinControl* active)
{
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->FocusChanged(active);
}

void TWinControl::EnabledChanged()
{
    if (handle_ != nullptr) EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::TextChanged()
{
    if (handle_ != nullptr) SetWindowTextW(handle_, Caption().c_str());
    Invalidate();
}

void TWinControl::FontChanged()
{
    if (handle_ != nullptr) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged()
{
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->ParentColorChanged();
    Invalidate();
}

void TWinControl::VisibleChanged()
{
    if (handle_ == nullptr) {
        if (Visible() && Parent() != nullptr && Parent()->HandleAllocated() && Parent()->Visible()) CreateHandle();
    } else {
        if (Visible())
            CreateChildHandles();
        else
            PassFocusOn();
        ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
    }
    if (Parent() != nullptr && Align() != alNone) Parent()->AlignControls();
}
