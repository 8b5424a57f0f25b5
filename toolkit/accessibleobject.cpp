#include "toolkit/accessibleobject.h"

#include "toolkit/accessibility.h"
#include "toolkit/accessibilitylibrary.h"
#include "toolkit/wincontrol.h"

namespace {

// No error may leave a COM method: a caller in another process would see
// its call fail anyway, and here it would end the program.
template <class Body>
HRESULT Guarded(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

VARIANT SelfId()
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

void SetEmpty(VARIANT* v)
{
    if (v != nullptr) v->vt = VT_EMPTY;
}

HRESULT Answer(const std::wstring& text, BSTR* out)
{
    *out = AllocAccessibleText(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// ---- WM_GETOBJECT -------------------------------------------------------------

bool AnswerAccessibility(TWinControl& control, TMessage& m)
{
    if (m.Msg == CM_ACCESSIBLEACTION) {
        TControl* target = nullptr;
        if (m.WParam == 0)
            target = &control;
        else if (m.WParam <= control.ControlCount())
            target = control.Controls(m.WParam - 1);
        if (target != nullptr && target->Enabled()) target->DoAccessibleDefaultAction();
        m.Result = 0;
        return true;
    }
    if (m.Msg != WM_GETOBJECT || static_cast<LONG>(m.LParam) != OBJID_CLIENT) return false;
    try {
        PrepareAccessibility();
        TAccessibleObject* object = control.accessible_;
        if (object == nullptr) object = control.accessible_ = TAccessibleObject::Create(&control);
        m.Result = AccessibleResult(m.WParam, object);
    } catch (...) {
        // A reader's request that cannot be answered is no error of the
        // user's: the window answers as a plain one.
        return false;
    }
    return true;
}

// ---- TAccessibleObject ----------------------------------------------------------

TAccessibleObject* TAccessibleObject::Create(TWinControl* control)
{
    IAccessible* standard = CreateStandardAccessible(control->Handle(), OBJID_CLIENT);
    return new TAccessibleObject(control, standard);
}

TAccessibleObject::TAccessibleObject(TWinControl* control, IAccessible* standard) noexcept
    : control_(control), standard_(standard)
{
}

TAccessibleObject::~TAccessibleObject()
{
    if (standard_ != nullptr) standard_->Release();
}

void TAccessibleObject::Disconnect() noexcept
{
    if (control_ == nullptr) return;
    control_ = nullptr;
    IAccessible* standard = standard_;
    standard_ = nullptr;
    if (standard != nullptr) standard->Release();
    DisconnectAccessible(static_cast<IAccessible*>(this));
}

TAccessibleObject* TAccessibleObject::ObjectOf(TControl* control)
{
    if (!control->HasOwnWindow()) return nullptr;
    auto* windowed = static_cast<TWinControl*>(control);
    if (!windowed->HandleAllocated()) return nullptr;
    if (windowed->accessible_ == nullptr) windowed->accessible_ = Create(windowed);
    return windowed->accessible_;
}

std::vector<TControl*> TAccessibleObject::Children() const
{
    std::vector<TControl*> out;
    out.reserve(control_->ControlCount());
    for (std::size_t i = 0; i < control_->ControlCount(); ++i) out.push_back(control_->Controls(i));
    return out;
}

HRESULT TAccessibleObject::Resolve(const VARIANT& child, TTarget& target)
{
    if (control_ == nullptr) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    target.Id = child.lVal;
    if (target.Id == CHILDID_SELF) {
        target.Control = control_;
        return S_OK;
    }
    const std::size_t count = control_->ControlCount();
    if (count == 0) return S_OK;  // a built-in control's own parts
    if (target.Id < 1 || static_cast<std::size_t>(target.Id) > count) return E_INVALIDARG;
    target.Control = control_->Controls(static_cast<std::size_t>(target.Id) - 1);
    target.Own = ObjectOf(target.Control);
    return S_OK;
}

HRESULT TAccessibleObject::ChildVariant(std::size_t index, VARIANT* out)
{
    TControl* child = control_->Controls(index);
    if (TAccessibleObject* own = ObjectOf(child)) {
        own->AddRef();
        out->vt = VT_DISPATCH;
        out->pdispVal = static_cast<IAccessible*>(own);
    } else {
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(index + 1);
    }
    return S_OK;
}

template <class Question, class Ask>
HRESULT TAccessibleObject::Text(const VARIANT& child, BSTR* out, Question question, Ask ask)
{
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return ask(t.Own, SelfId(), out);
        if (t.Control == nullptr) return ask(standard_, child, out);
        const std::wstring text = question(*t.Control);
        if (!text.empty()) return Answer(text, out);
        return t.Control == control_ ? ask(standard_, child, out) : S_FALSE;
    });
}

// IUnknown

HRESULT TAccessibleObject::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
        *object = static_cast<IAccessible*>(this);
    else if (riid == __uuidof(IOleWindow))
        *object = static_cast<IOleWindow*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TAccessibleObject::AddRef()
{
    return ++refs_;
}

ULONG TAccessibleObject::Release()
{
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// IDispatch

HRESULT TAccessibleObject::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TAccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// IAccessible

HRESULT TAccessibleObject::get_accParent(IDispatch** parent)
{
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    return Guarded([&]() -> HRESULT {
        if (control_ == nullptr) return RPC_E_DISCONNECTED;
        TWinControl* up = control_->Parent();
        if (TAccessibleObject* object = up != nullptr ? ObjectOf(up) : nullptr) {
            object->AddRef();
            *parent = static_cast<IAccessible*>(object);
            return S_OK;
        }
        return standard_->get_accParent(parent);
    });
}

HRESULT TAccessibleObject::get_accChildCount(long* count)
{
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return Guarded([&]() -> HRESULT {
        if (control_ == nullptr) return RPC_E_DISCONNECTED;
        if (control_->ControlCount() == 0) return standard_->get_accChildCount(count);
        *count = static_cast<long>(control_->ControlCount());
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accChild(VARIANT child, IDispatch** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) {
            t.Own->AddRef();
            *object = static_cast<IAccessible*>(t.Own);
            return S_OK;
        }
        if (t.Control == nullptr) return standard_->get_accChild(child, object);
        return t.Control == control_ ? E_INVALIDARG : S_FALSE;  // a simple element has no object
    });
}

HRESULT TAccessibleObject::get_accName(VARIANT child, BSTR* name)
{
    return Text(
        child, name, [](const TControl& c) { return c.AccessibleName(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accName(v, out); });
}

HRESULT TAccessibleObject::get_accValue(VARIANT child, BSTR* value)
{
    return Text(
        child, value, [](const TControl& c) { return c.AccessibleValue(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accValue(v, out); });
}

HRESULT TAccessibleObject::get_accDescription(VARIANT child, BSTR* description)
{
    return Text(
        child, description, [](const TControl&) { return std::wstring(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accDescription(v, out); });
}

HRESULT TAccessibleObject::get_accHelp(VARIANT child, BSTR* help)
{
    return Text(
        child, help, [](const TControl&) { return std::wstring(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accHelp(v, out); });
}

HRESULT TAccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return Text(
        child, shortcut, [](const TControl& c) { return c.AccessibleShortcut(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accKeyboardShortcut(v, out); });
}

HRESULT TAccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return Text(
        child, action, [](const TControl& c) { return c.AccessibleDefaultAction(); },
        [](IAccessible* a, VARIANT v, BSTR* out) { return a->get_accDefaultAction(v, out); });
}

HRESULT TAccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    if (file == nullptr || topic == nullptr) return E_POINTER;
    *file = nullptr;
    *topic = -1;
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->get_accHelpTopic(file, SelfId(), topic);
        if (t.Control == nullptr || t.Control == control_) return standard_->get_accHelpTopic(file, child, topic);
        return S_FALSE;
    });
}

HRESULT TAccessibleObject::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr) return E_POINTER;
    SetEmpty(role);
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->get_accRole(SelfId(), role);
        if (t.Control == nullptr) return standard_->get_accRole(child, role);
        long r = t.Control->AccessibleRole();
        if (r == 0) {
            if (t.Control == control_) return standard_->get_accRole(child, role);
            r = ROLE_SYSTEM_CLIENT;
        }
        role->vt = VT_I4;
        role->lVal = r;
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accState(VARIANT child, VARIANT* state)
{
    if (state == nullptr) return E_POINTER;
    SetEmpty(state);
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->get_accState(SelfId(), state);
        if (t.Control == nullptr) return standard_->get_accState(child, state);
        unsigned long flags = t.Control->AccessibleState();
        if (t.Control == control_ && control_->subclassed_) {
            // A built-in control knows its own states (checked, pressed,
            // read-only); where it shows and whether it has the focus, the
            // control says.
            constexpr unsigned long kOurs = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE |
                                            STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
            VARIANT own;
            own.vt = VT_EMPTY;
            if (SUCCEEDED(standard_->get_accState(child, &own)) && own.vt == VT_I4)
                flags |= static_cast<unsigned long>(own.lVal) & ~kOurs;
            ClearAccessibleVariant(own);
        }
        state->vt = VT_I4;
        state->lVal = static_cast<LONG>(flags);
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accFocus(VARIANT* child)
{
    if (child == nullptr) return E_POINTER;
    SetEmpty(child);
    return Guarded([&]() -> HRESULT {
        if (control_ == nullptr) return RPC_E_DISCONNECTED;
        HWND own = control_->WindowHandle();
        HWND focus = GetFocus();
        if (focus == nullptr || own == nullptr) return S_FALSE;
        if (focus == own) {
            child->vt = VT_I4;
            child->lVal = CHILDID_SELF;
            return S_OK;
        }
        if (!IsChild(own, focus)) return S_FALSE;
        while (GetParent(focus) != own) focus = GetParent(focus);
        TWinControl* holder = TWinControl::FindControl(focus);
        for (std::size_t i = 0; i < control_->ControlCount(); ++i)
            if (control_->Controls(i) == holder) return ChildVariant(i, child);
        return standard_->get_accFocus(child);
    });
}

HRESULT TAccessibleObject::get_accSelection(VARIANT* children)
{
    if (children == nullptr) return E_POINTER;
    SetEmpty(children);
    return Guarded([&]() -> HRESULT {
        if (control_ == nullptr) return RPC_E_DISCONNECTED;
        if (control_->ControlCount() == 0) return standard_->get_accSelection(children);
        return S_FALSE;
    });
}

HRESULT TAccessibleObject::accSelect(long flags, VARIANT child)
{
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->accSelect(flags, SelfId());
        if (t.Control == nullptr || t.Control == control_) return standard_->accSelect(flags, child);
        return DISP_E_MEMBERNOTFOUND;  // a windowless control takes no focus or selection
    });
}

HRESULT TAccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->accLocation(left, top, width, height, SelfId());
        if (t.Control == nullptr) return standard_->accLocation(left, top, width, height, child);
        if (t.Control == control_) {
            HWND own = control_->WindowHandle();
            RECT client{};
            GetClientRect(own, &client);
            POINT corner{0, 0};
            ClientToScreen(own, &corner);
            *left = corner.x;
            *top = corner.y;
            *width = client.right;
            *height = client.bottom;
            return S_OK;
        }
        const POINT corner = t.Control->ClientToScreen({0, 0});
        *left = corner.x;
        *top = corner.y;
        *width = t.Control->Width();
        *height = t.Control->Height();
        return S_OK;
    });
}

HRESULT TAccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr) return E_POINTER;
    SetEmpty(end);
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(start, t); FAILED(hr)) return hr;
        if (t.Control == nullptr) return standard_->accNavigate(direction, start, end);
        const std::size_t count = control_->ControlCount();
        if (t.Control == control_) {
            if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
                if (count == 0) return standard_->accNavigate(direction, start, end);
                return ChildVariant(direction == NAVDIR_FIRSTCHILD ? 0 : count - 1, end);
            }
            // Siblings are the parent's children, windowless ones included.
            TWinControl* up = control_->Parent();
            if (TAccessibleObject* parent = up != nullptr ? ObjectOf(up) : nullptr) {
                VARIANT self;
                self.vt = VT_I4;
                self.lVal = AccessibleChildId(control_);
                return parent->accNavigate(direction, self, end);
            }
            return standard_->accNavigate(direction, start, end);
        }
        const auto index = static_cast<std::size_t>(t.Id - 1);
        switch (direction) {
        case NAVDIR_NEXT:
            return index + 1 < count ? ChildVariant(index + 1, end) : S_FALSE;
        case NAVDIR_PREVIOUS:
            return index > 0 ? ChildVariant(index - 1, end) : S_FALSE;
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            return t.Own != nullptr ? t.Own->accNavigate(direction, SelfId(), end) : S_FALSE;
        default:
            return S_FALSE;  // no spatial navigation between children
        }
    });
}

HRESULT TAccessibleObject::accHitTest(long x, long y, VARIANT* child)
{
    if (child == nullptr) return E_POINTER;
    SetEmpty(child);
    return Guarded([&]() -> HRESULT {
        if (control_ == nullptr) return RPC_E_DISCONNECTED;
        HWND own = control_->WindowHandle();
        POINT p{x, y};
        ScreenToClient(own, &p);
        RECT client{};
        GetClientRect(own, &client);
        if (!PtInRect(&client, p)) return S_FALSE;
        if (control_->ControlCount() == 0) return standard_->accHitTest(x, y, child);
        // Child windows cover the windowless controls painted beneath them.
        HWND under = ChildWindowFromPointEx(own, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        TControl* hit = under != nullptr && under != own ? TWinControl::FindControl(under) : nullptr;
        if (hit == nullptr) hit = control_->GraphicControlAt(p, true);
        for (std::size_t i = 0; hit != nullptr && i < control_->ControlCount(); ++i)
            if (control_->Controls(i) == hit) return ChildVariant(i, child);
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    });
}

HRESULT TAccessibleObject::accDoDefaultAction(VARIANT child)
{
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->accDoDefaultAction(SelfId());
        if (t.Control == nullptr) return standard_->accDoDefaultAction(child);
        if (t.Control->AccessibleDefaultAction().empty())
            return t.Control == control_ ? standard_->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
        if (!t.Control->Enabled()) return E_ACCESSDENIED;
        // Run from the message loop: the action (a release run, say) may take
        // long, and the reader's call must come back at once.
        const WPARAM which = t.Control == control_ ? 0 : static_cast<WPARAM>(t.Id);
        return PostMessageW(control_->WindowHandle(), CM_ACCESSIBLEACTION, which, 0) ? S_OK : E_FAIL;
    });
}

HRESULT TAccessibleObject::put_accName(VARIANT child, BSTR name)
{
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->put_accName(SelfId(), name);
        if (t.Control == nullptr || t.Control == control_) return standard_->put_accName(child, name);
        return DISP_E_MEMBERNOTFOUND;
    });
}

HRESULT TAccessibleObject::put_accValue(VARIANT child, BSTR value)
{
    return Guarded([&]() -> HRESULT {
        TTarget t;
        if (const HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Own != nullptr) return t.Own->put_accValue(SelfId(), value);
        if (t.Control == nullptr || t.Control == control_) return standard_->put_accValue(child, value);
        return DISP_E_MEMBERNOTFOUND;
    });
}

// IOleWindow

HRESULT TAccessibleObject::GetWindow(HWND* window)
{
    if (window == nullptr) return E_POINTER;
    *window = nullptr;
    if (control_ == nullptr) return RPC_E_DISCONNECTED;
    *window = control_->WindowHandle();
    return S_OK;
}

HRESULT TAccessibleObject::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}
