// The object a windowed control's window hands a screen reader on
// WM_GETOBJECT (OBJID_CLIENT). It stands on oleacc's standard object for the
// window and answers from the control's own description (TControl's
// Accessible* questions) wherever the control has one. The control's children
// are its children, in the control's order: a windowed child by its own
// object, a windowless one (label, speed button, bar) as a simple element
// with child id 1, 2, ... and its bounds on the screen.
//
// Lifetime: the control holds one reference while its window lives. When the
// window goes, the object lets go of the control and of the standard object,
// and every later call (in this process or, through COM, from another)
// answers an error instead of reaching a destroyed control.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <vector>

#include "toolkit/messages.h"

class TControl;
class TWinControl;

// Posted to a window to run a default action asked for by a screen reader,
// outside the reader's call: wParam 0 for the window's own control, else the
// windowless child's id.
inline constexpr UINT CM_ACCESSIBLEACTION = WM_APP + 0x3003;

// Answers WM_GETOBJECT and CM_ACCESSIBLEACTION for control's window; false
// for other messages (and for objects other than OBJID_CLIENT, which the
// system answers).
bool AnswerAccessibility(TWinControl& control, TMessage& message);

class TAccessibleObject final : public IAccessible, public IOleWindow {
public:
    // The object for control's window (which must exist), with one reference
    // for the caller. Raises when the standard object cannot be made.
    static TAccessibleObject* Create(TWinControl* control);
    // The window is going: let go of the control; later calls answer an error.
    void Disconnect() noexcept;
    bool Connected() const noexcept { return control_ != nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; callers use the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;
    // IOleWindow: the window, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

private:
    TAccessibleObject(TWinControl* control, IAccessible* standard) noexcept;
    ~TAccessibleObject();

    // What a child id names: the control itself (id 0), one of its children,
    // or an element only the standard object knows (a built-in control's parts).
    struct TTarget {
        TControl* Control = nullptr;       // null for a standard element
        TAccessibleObject* Own = nullptr;  // a windowed child's object, not referenced
        LONG Id = CHILDID_SELF;
    };
    HRESULT Resolve(const VARIANT& child, TTarget& target);
    std::vector<TControl*> Children() const;
    // The child's own object (windowed with a window) or null.
    static TAccessibleObject* ObjectOf(TControl* control);
    // A child as the VARIANT a caller gets: its object, or its id.
    HRESULT ChildVariant(std::size_t index, VARIANT* out);
    // A text question: the control's answer, else the standard object's.
    template <class Question, class Ask>
    HRESULT Text(const VARIANT& child, BSTR* out, Question question, Ask ask);

    std::atomic<ULONG> refs_{1};
    TWinControl* control_;   // not owned; null once disconnected
    IAccessible* standard_;  // one reference, released on disconnect
};
