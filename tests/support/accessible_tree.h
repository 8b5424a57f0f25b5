// Reads a window's accessible tree the way a screen reader walks it:
// AccessibleObjectFromWindow, then AccessibleChildren at every level. One
// line per element that shows (invisible ones and what they hold are left
// out), indented by depth:
//   push button "Optimize Now" action=Press key=Alt+O
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace accessible_tree {

// One text question (get_accName, get_accValue, ...), freeing the answer.
template <class Ask>
std::wstring Text(Ask ask)
{
    BSTR text = nullptr;
    const HRESULT hr = ask(&text);
    std::wstring out = SUCCEEDED(hr) && text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

inline std::wstring RoleText(IAccessible* object, VARIANT id)
{
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(id, &role)) || role.vt != VT_I4) {
        VariantClear(&role);
        return L"?";
    }
    wchar_t text[64] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 64);
    return text;
}

inline long State(IAccessible* object, VARIANT id)
{
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object->get_accState(id, &state)) || state.vt != VT_I4) {
        VariantClear(&state);
        return 0;
    }
    return state.lVal;
}

inline void Describe(IAccessible* object, VARIANT id, int depth, std::vector<std::wstring>& lines);

inline void Walk(IAccessible* object, int depth, std::vector<std::wstring>& lines)
{
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0) return;
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return;
    for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<std::size_t>(i)];
        if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
            IAccessible* inner = nullptr;
            if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
                VARIANT self;
                self.vt = VT_I4;
                self.lVal = CHILDID_SELF;
                Describe(inner, self, depth, lines);
                inner->Release();
            }
        } else if (child.vt == VT_I4) {
            Describe(object, child, depth, lines);
        }
        VariantClear(&child);
    }
}

inline void Describe(IAccessible* object, VARIANT id, int depth, std::vector<std::wstring>& lines)
{
    const long state = State(object, id);
    if (state & STATE_SYSTEM_INVISIBLE) return;
    std::wstring line(static_cast<std::size_t>(depth) * 2, L' ');
    line += RoleText(object, id);
    line += L" \"" + Text([&](BSTR* t) { return object->get_accName(id, t); }) + L"\"";
    if (auto value = Text([&](BSTR* t) { return object->get_accValue(id, t); }); !value.empty())
        line += L" value=" + value;
    if (auto action = Text([&](BSTR* t) { return object->get_accDefaultAction(id, t); }); !action.empty())
        line += L" action=" + action;
    if (auto key = Text([&](BSTR* t) { return object->get_accKeyboardShortcut(id, t); }); !key.empty())
        line += L" key=" + key;
    if (state & STATE_SYSTEM_UNAVAILABLE) line += L" unavailable";
    if (state & STATE_SYSTEM_OFFSCREEN) line += L" offscreen";
    lines.push_back(line);
    if (id.lVal == CHILDID_SELF) Walk(object, depth + 1, lines);
}

// The tree below root, root included.
inline std::vector<std::wstring> ReadFrom(IAccessible* root)
{
    std::vector<std::wstring> lines;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Describe(root, self, 0, lines);
    return lines;
}

// The tree of window's client area; empty when it answers no object.
inline std::vector<std::wstring> Read(HWND window)
{
    IAccessible* root = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&root))) ||
        root == nullptr)
        return {};
    auto lines = ReadFrom(root);
    root->Release();
    return lines;
}

}  // namespace accessible_tree
