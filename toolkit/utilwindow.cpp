#include "toolkit/utilwindow.h"

#include "toolkit/oserror.h"

namespace {
constexpr wchar_t kUtilityClass[] = L"QuenfelUtilityWindow";
}

TUtilityWindow::TUtilityWindow(TWindowHandler handler, const wchar_t* className, bool messageOnly)
    : handler_(std::move(handler))
{
    const wchar_t* cls = className != nullptr && *className != 0 ? className : kUtilityClass;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TWindowBinding<TUtilityWindow>::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) RaiseLastOSError();
    handle_ = messageOnly ? CreateWindowExW(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this)
                          : CreateWindowExW(WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                            instance, this);
    if (handle_ == nullptr) RaiseLastOSError();
}

TUtilityWindow::~TUtilityWindow()
{
    if (handle_ != nullptr) {
        TWindowBinding<TUtilityWindow>::Unbind(handle_);
        DestroyWindow(handle_);
    }
}

LRESULT TUtilityWindow::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!handler_) return DefWindowProcW(window, message, wParam, lParam);
    return handler_(window, message, wParam, lParam);
}

std::unique_ptr<TUtilityWindow> AllocateHWnd(TWindowHandler handler)
{
    return std::make_unique<TUtilityWindow>(std::move(handler));
}

std::unique_ptr<TUtilityWindow> AllocateMessageWindow(TWindowHandler handler)
{
    return std::make_unique<TUtilityWindow>(std::move(handler), nullptr, true);
}
