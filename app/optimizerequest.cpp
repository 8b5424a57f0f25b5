#include "app/optimizerequest.h"

#include <thread>

#include "app/productinfo.h"
#include "toolkit/forms.h"

UINT OptimizeRequestMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Quenfel.OptimizeNow");
    return message;
}

bool RequestRunningCopyOptimize(std::chrono::milliseconds patience)
{
    const UINT message = OptimizeRequestMessage();
    if (message == 0) return false;
    // The other copy takes the single-instance lock before it creates its
    // window: a scheduled start may fall in between.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        // Hidden in the tray the window still exists, so it is found either way.
        if (HWND window = FindWindowW(FormWindowClass, MainWindowCaption); window != nullptr)
            return PostMessageW(window, message, 0, 0) != FALSE;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}
