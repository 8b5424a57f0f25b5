// What every control tells a screen reader unless it says otherwise.
#include "toolkit/accessibility.h"

#include <oleacc.h>


#include "toolkit/accel.h"
#include "toolkit/accelkey.h"
#include "toolkit/control.h"
#include "toolkit/wincontrol.h"

namespace {

// The caption as shown: "&&" is one "&", a single "&" only underlines.
std::wstring WithoutAccelerator(const std::wstring& caption)
{
    std::wstring out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') out += L'&';
            ++i;
            if (i < caption.size() && caption[i] != L'&') out += caption[i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

// The window a control shows on, or null while it has none.
HWND ShownOn(const TControl* control)
{
    return control->SurfaceHandle();
}

// The control's rectangle lies outside its top-level window's client area
// (the window is narrowed or shortened over it).
bool OutsideTopLevel(const TControl* control)
{
    const TControl* top = control;
    while (top->Parent() != nullptr) top = top->Parent();
    HWND topWindow = top == control ? nullptr : ShownOn(top);
    if (topWindow == nullptr) return false;
    RECT client{};
    GetClientRect(topWindow, &client);
    MapWindowPoints(topWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const POINT corner = control->ClientToScreen({0, 0});
    const RECT own{corner.x, corner.y, corner.x + control->Width(), corner.y + control->Height()};
    RECT common{};
    return !IntersectRect(&common, &own, &client);
}

}  // namespace

std::wstring TControl::AccessibleName() const
{
    return WithoutAccelerator(Caption());
}

std::wstring TControl::AccessibleShortcut() const
{
    const wchar_t ch = AccelChar(Caption());
    if (ch == 0) return {};
    return std::wstring(L"Alt+") + AccelUpper(ch);
}

unsigned long TControl::AccessibleState() const
{
    unsigned long state = 0;
    if (!Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!Showing())
        state |= STATE_SYSTEM_INVISIBLE;
    else if (OutsideTopLevel(this))
        state |= STATE_SYSTEM_OFFSCREEN;
    if (HasOwnWindow()) {
        const auto* windowed = static_cast<const TWinControl*>(this);
        if (windowed->TabStop() && Enabled()) state |= STATE_SYSTEM_FOCUSABLE;
        if (windowed->Focused()) state |= STATE_SYSTEM_FOCUSED;
    }
    return state;
}

std::wstring TControl::AccessibleLabel() const
{
    if (Parent() == nullptr) return {};
    // As a sighted user reads a form: the text just left of the control on
    // its row names it. A label right of it (a unit, a figure) does not.
    const TControl* best = nullptr;
    for (std::size_t i = 0; i < Parent()->ControlCount(); ++i) {
        const TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->AccessibleRole() != ROLE_SYSTEM_STATICTEXT) continue;
        const bool sameRow = c->Top() < Top() + Height() && Top() < c->Top() + c->Height();
        const bool leftOf = c->Left() + c->Width() / 2 < Left();
        if (sameRow && leftOf && (best == nullptr || c->Left() > best->Left())) best = c;
    }
    if (best != nullptr) return best->AccessibleName();
    if (Parent()->AccessibleRole() == ROLE_SYSTEM_GROUPING) return Parent()->AccessibleName();
    return {};
}

LONG AccessibleChildId(const TControl* control)
{
    const TWinControl* parent = control->Parent();
    if (parent == nullptr) return CHILDID_SELF;
    for (std::size_t i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i) == control) return static_cast<LONG>(i + 1);
    return CHILDID_SELF;
}

void NotifyAccessibleEvent(const TControl* control, DWORD event)
{
    if (control->HasOwnWindow()) {
        if (HWND own = control->SurfaceHandle()) NotifyWinEvent(event, own, OBJID_CLIENT, CHILDID_SELF);
        return;
    }
    const TWinControl* parent = control->Parent();
    if (parent == nullptr || !parent->HandleAllocated()) return;
    NotifyWinEvent(event, parent->WindowHandle(), OBJID_CLIENT, AccessibleChildId(control));
}
