#include "toolkit/control.h"

#include "toolkit/errors.h"
#include "toolkit/handles.h"
#include "toolkit/forms.h"
#include "toolkit/theme.h"
#include "toolkit/wincontrol.h"

using enum TMouseButton;
using enum TAlign;

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    font_.OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl()
{
    MarkDestroying();
    if (mouseControl_ == this) mouseControl_ = nullptr;
    if (captureControl_ == this) {
        captureControl_ = nullptr;
        ReleaseCapture();
    }
    actionLink_.reset();
    if (parent_ != nullptr) {
        parent_->RemoveControl(this);
        parent_ = nullptr;
    }
}

void TControl::SetName(std::wstring name)
{
    // A loaded layout sets every caption itself, an empty one included; only a
    // control named at run time takes its name as its caption.
    const bool loading = IsLoading() || (Owner() != nullptr && Owner()->IsLoading());
    const bool follow = (controlStyle_ & csSetCaption) && !loading && caption_ == Name();
    TComponent::SetName(name);
    if (follow) SetCaption(name);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const RECT old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged(old);
}

void TControl::BoundsChanged(const RECT& oldBounds)
{
    if (parent_ != nullptr && parent_->HandleAllocated() && visible_) {
        InvalidateRect(parent_->WindowHandle(), &oldBounds, TRUE);
        Invalidate();
    }
    if (parent_ != nullptr && align_ != alNone) parent_->AlignControls();
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
    for (TControl* p = parent; p != nullptr; p = p->Parent())
        if (p == this) throw EInvalidOperation(L"A control cannot be its own parent's child");
    if (parent_ != nullptr) {
        Invalidate();
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_ != nullptr) {
        if (parentFont_) FollowParentFont();
        if (parentColor_) FollowParentColor();
        parent_->InsertControl(this);
        Invalidate();
        if (align_ != alNone) parent_->AlignControls();
    }
    ParentChanged();
}

void TControl::SetVisible(bool value)
{
    if (value == visible_) return;
    if (!value) Invalidate();
    visible_ = value;
    VisibleChanged();
}

void TControl::VisibleChanged()
{
    Invalidate();
    if (parent_ != nullptr && align_ != alNone) parent_->AlignControls();
}

bool TControl::Showing() const
{
    if (!visible_) return false;
    if (parent_ != nullptr) return parent_->Showing();
    HWND own = HasOwnWindow() ? SurfaceHandle() : nullptr;
    return own != nullptr && IsWindowVisible(own);
}

void TControl::SetEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    EnabledChanged();
}

void TControl::EnabledChanged()
{
    Invalidate();
}

void TControl::SetCaption(const std::wstring& value)
{
    if (value == caption_) return;
    caption_ = value;
    TextChanged();
}

void TControl::TextChanged()
{
    Invalidate();
}

void TControl::FontObjectChanged()
{
    if (!followingParent_) parentFont_ = false;
    FontChanged();
}

void TControl::FontChanged()
{
    Invalidate();
}

void TControl::SetParentFont(bool value)
{
    parentFont_ = value;
    if (value && parent_ != nullptr) FollowParentFont();
}

void TControl::FollowParentFont()
{
    followingParent_ = true;
    try {
        font_.Assign(parent_->Font());
    } catch (...) {
        followingParent_ = false;
        throw;
    }
    followingParent_ = false;
}

void TControl::ParentFontChanged()
{
    if (parentFont_ && parent_ != nullptr) FollowParentFont();
}

void TControl::SetColor(TColor value)
{
    parentColor_ = false;
    if (value == color_) return;
    color_ = value;
    ColorChanged();
}

TColor TControl::ShownColor() const
{
    return ThemeBackground(color_, clBtnFace);
}

TColor TControl::ShownFontColor() const
{
    return ThemeText(font_.Color(), clWindowText, ShownColor());
}

void TControl::ColorChanged()
{
    Invalidate();
}

void TControl::SetParentColor(bool value)
{
    parentColor_ = value;
    if (value && parent_ != nullptr) FollowParentColor();
}

void TControl::FollowParentColor()
{
    if (parent_->Color() == color_) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::ParentColorChanged()
{
    if (parentColor_ && parent_ != nullptr) FollowParentColor();
}

bool TControl::ShowHint() const
{
    if (parentShowHint_ && parent_ != nullptr) return parent_->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
}

void TControl::SetAlign(TAlign value)
{
    if (value == align_) return;
    align_ = value;
    if (parent_ != nullptr) parent_->AlignControls();
}

void TControl::SetActionLink(std::unique_ptr<TControlActionLink> link)
{
    actionLink_ = std::move(link);
    ActionChanged();
}

TForm* TControl::GetParentForm() const
{
    const TControl* top = this;
    while (top->Parent() != nullptr) top = top->Parent();
    return const_cast<TControl*>(top)->AsForm();
}

bool TControl::RightToLeft() const
{
    const TForm* form = GetParentForm();
    return form != nullptr && form->RightToLeft();
}

int TControl::ScaleDesign(int value) const
{
    const TForm* form = GetParentForm();
    return form != nullptr ? form->ScaleDesign(value) : value;
}

void TControl::Invalidate()
{
    if (parent_ == nullptr || !parent_->HandleAllocated()) return;
    const RECT r = BoundsRect();
    InvalidateRect(parent_->WindowHandle(), &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (parent_ != nullptr) parent_->Update();
}

HWND TControl::SurfaceHandle() const
{
    return parent_ != nullptr ? parent_->WindowHandle() : nullptr;
}

POINT TControl::SurfaceOrigin() const
{
    return {left_, top_};
}

POINT TControl::ClientToScreen(POINT p) const
{
    const POINT origin = SurfaceOrigin();
    p.x += origin.x;
    p.y += origin.y;
    if (HWND surface = SurfaceHandle()) {
        ::ClientToScreen(surface, &p);
        return p;
    }
    // No window yet: add up the designed positions.
    if (parent_ != nullptr) return parent_->ClientToScreen(p);
    return p;
}

POINT TControl::ScreenToClient(POINT p) const
{
    const POINT zero = ClientToScreen({0, 0});
    return {p.x - zero.x, p.y - zero.y};
}

bool TControl::MouseCapture() const
{
    if (captureControl_ == this) return true;
    HWND own = HasOwnWindow() ? SurfaceHandle() : nullptr;
    return own != nullptr && GetCapture() == own;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture()) return;
    HWND surface = SurfaceHandle();
    if (value) {
        if (surface == nullptr) return;
        // A windowed control's capture is its own window's; a graphic
        // control's is recorded, its parent's window holding it.
        captureControl_ = HasOwnWindow() ? nullptr : this;
        SetCapture(surface);
    } else {
        captureControl_ = nullptr;
        ReleaseCapture();
    }
}

void TControl::RouteMouse(UINT message, WPARAM keys, int x, int y)
{
    std::weak_ptr<int> alive = lifeToken_;
    TShiftState shift = KeysToShiftState(keys);
    auto down = [&](TMouseButton button, TShiftState extra) {
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
        MouseDown(button, shift | extra, x, y);
    };
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (controlStyle_ & csDoubleClicks) {
            if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
            if (controlStyle_ & csClickEvents) {
                DblClick();
                if (alive.expired()) return;
            }
            MouseDown(mbLeft, shift | ssDouble, x, y);
            break;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        clicked_ = (controlStyle_ & csClickEvents) != 0;
        down(mbLeft, 0);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, shift | (message == WM_RBUTTONDBLCLK ? ssDouble : 0), x, y);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, shift | (message == WM_MBUTTONDBLCLK ? ssDouble : 0), x, y);
        break;
    case WM_LBUTTONUP:
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
        if (clicked_) {
            clicked_ = false;
            if (x >= 0 && y >= 0 && x < width_ && y < height_) {
                Click();
                if (alive.expired()) return;
            }
        }
        MouseUp(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    default:
        break;
    }
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute();
}

void TControl::DblClick()
{
    Fire(OnDblClick, this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Fire(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Fire(OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    Fire(OnMouseMove, this, shift, x, y);
}

void TControl::MouseEnter()
{
    Fire(OnMouseEnter, this);
}

void TControl::MouseLeave()
{
    Fire(OnMouseLeave, this);
}

int TControl::TextWidth(const std::wstring& text) const
{
    if (text.empty()) return 0;
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Get(), Font().Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}
