#include "toolkit/utilwindow.h"

#include "toolkit/application.h"
#include "toolkit/oserror.h"

namespace {
constexpr wchar_t kUtilityClass[] = L"QuenfelUtilityWindow";
}

TUtilityWindow::TUtilityWindow(TWindowHandler handler, const wchar_t* className) : handler_(std::move(handler))
{
    const wchar_t* cls = className != nullptr && *className != 0 ? className : kUtilityClass;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TUtilityWindow::WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
    handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                              this);
    if (handle_ == nullptr) RaiseLastOSError();
}

TUtilityWindow::~TUtilityWindow()
{
    if (handle_ != nullptr) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);  // no message reaches a half-destroyed object
        DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TUtilityWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TUtilityWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TUtilityWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self == nullptr || !self->handler_) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->handler_(window, message, wParam, lParam);
    } catch (...) {
        Application->HandleException(self);
        return 0;
    }
}

std::unique_ptr<TUtilityWindow> AllocateHWnd(TWindowHandler handler)
{
    return std::make_unique<TUtilityWindow>(std::move(handler));
}
