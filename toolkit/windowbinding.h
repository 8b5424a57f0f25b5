// One window of our own class bound to one object, the same way for every
// such window (controls, forms, the application window, utility windows):
// the object arrives as CreateWindowEx's create parameter, is kept in
// GWLP_USERDATA from WM_NCCREATE until WM_NCDESTROY (or until its destructor
// lets go first, so no message reaches a half-destroyed object), and the
// class's window procedure lets no error out: an error goes to the
// application's report and the message returns 0 (FALSE for WM_NCCREATE,
// which then fails the creation).
//
//   class TThing : public TObject {
//       LRESULT WindowMessage(HWND, UINT, WPARAM, LPARAM);  // may raise
//       friend class TWindowBinding<TThing>;
//   };
//   wc.lpfnWndProc = &TWindowBinding<TThing>::WindowProc;
//   CreateWindowExW(..., this);
#pragma once

#include <windows.h>

#include "toolkit/object.h"

// The application's default error report, for the current exception.
void ReportWindowError(TObject* sender) noexcept;

template <class T>
class TWindowBinding {
public:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
    {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = FromWindow(window);
        }
        if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->WindowMessage(window, message, wParam, lParam);
        } catch (...) {
            ReportWindowError(self);
            result = message == WM_NCCREATE ? FALSE : 0;
        }
        // The object may be gone by now; only the window is touched.
        if (message == WM_NCDESTROY) Unbind(window);
        return result;
    }

    // The object bound to a window of this class, or null.
    static T* FromWindow(HWND window) noexcept
    {
        return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    // For the object's destructor, before it destroys its window.
    static void Unbind(HWND window) noexcept { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }
};
