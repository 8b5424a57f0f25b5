// Keys pressed as a user presses them: through SendInput to the window with
// the focus, so the key state, the application's dialog keys and the
// system's own handling all see them, then every message they make handled
// by the application's loop.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "toolkit/application.h"

namespace testsupport {

inline INPUT KeyInput(WORD key, DWORD flags)
{
    switch (key) {
    case VK_DELETE:
    case VK_INSERT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_RMENU:
    case VK_RCONTROL: flags |= KEYEVENTF_EXTENDEDKEY; break;
    default: break;
    }
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// The input reaches the queue at once; what its messages do may post more.
inline void HandleKeys()
{
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    Application->ProcessMessages();
}

inline void KeysDown(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyInput(key, 0));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    HandleKeys();
}

// Let go in the reverse order.
inline void KeysUp(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    HandleKeys();
}

inline void Press(std::initializer_list<WORD> keys)
{
    KeysDown(keys);
    KeysUp(keys);
}

// A character typed as its language's keyboard gives it: sent as itself, so
// an English layout types Cyrillic too. Handled by whatever loop runs (a
// menu's), unless handle is set.
inline void TypeCharacter(wchar_t ch, bool handle = true)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT inputs[2] = {input, input};
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    if (handle) HandleKeys();
}

// Alt with a character, as the WM_SYSCHAR it makes, posted where the
// keyboard's go: the focus, or the active window when nothing has it.
// Typed through SendInput, Wine puts the Alt flag into the character itself.
inline void TypeAltCharacter(wchar_t ch)
{
    PostMessageW(GetFocus() != nullptr ? GetFocus() : GetActiveWindow(), WM_SYSCHAR, ch, 1 | 1 << 29);
    HandleKeys();
}

} // namespace testsupport
