#include "app/optimizerequest.h"

#include <thread>

#include "app/productinfo.h"
#include "toolkit/application.h"
#include "toolkit/elevation.h"

namespace {

// An elevated requester hands its run only to a copy known to be elevated.
bool CopyHasRights(HWND window, const TRequesterRights& rights)
{
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId) == 0 || !rights.CopyElevated) return false;
    return rights.CopyElevated(processId).value_or(false);
}

} // namespace

UINT OptimizeRequestMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Quenfel.OptimizeNow");
    return message;
}

TRequestAnswer RequestRunningCopyOptimize(std::chrono::milliseconds patience, const TRequesterRights& rights)
{
    const UINT message = OptimizeRequestMessage();
    if (message == 0) return TRequestAnswer::raFailed;
    // The other copy takes the single-instance lock before it creates its
    // window: a scheduled start may fall in between.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        // The application window exists from the start whether the main
        // window is shown, hidden in the tray or not made yet.
        if (HWND window = FindWindowW(ApplicationWindowClass, ApplicationTitle); window != nullptr) {
            if (rights.Elevated && !CopyHasRights(window, rights)) return TRequestAnswer::raCopyLacksRights;
            return PostMessageW(window, message, 0, 0) != FALSE ? TRequestAnswer::raSent : TRequestAnswer::raFailed;
        }
        if (std::chrono::steady_clock::now() >= deadline) return TRequestAnswer::raFailed;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void AcceptOptimizeRequests(HWND window) noexcept
{
    AcceptMessageFromFewerRights(window, OptimizeRequestMessage());
}
