// A hidden top-level window (tool window, popup style, zero size, never shown)
// or a message-only window, whose messages go to a handler; for non-visual
// components that need window messages: timers, menus, notification-area
// callbacks. The handler calls
// DefWindowProcW itself for what it does not handle. Errors it raises go to
// the application's error report and the message returns 0.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "toolkit/object.h"
#include "toolkit/windowbinding.h"

using TWindowHandler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

class TUtilityWindow : public TObject {
public:
    // className: a window class of its own, for windows that tools and tests
    // find by class (FindWindow); empty uses the shared class.
    // messageOnly: a message-only window, for a handler that needs no
    // broadcasts and owns no menu (a timer's); cheaper to make.
    explicit TUtilityWindow(TWindowHandler handler, const wchar_t* className = nullptr, bool messageOnly = false);
    ~TUtilityWindow() override;
    HWND Handle() const noexcept { return handle_; }

private:
    friend class TWindowBinding<TUtilityWindow>;
    LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    TWindowHandler handler_;
};

std::unique_ptr<TUtilityWindow> AllocateHWnd(TWindowHandler handler);
// A message-only one, for messages posted to it alone (timer ticks).
std::unique_ptr<TUtilityWindow> AllocateMessageWindow(TWindowHandler handler);
