#include "toolkit/dpi.h"

#include "toolkit/graphics.h"
#include "toolkit/systemlibrary.h"

namespace {

using TGetDpiForSystem = UINT WINAPI();
using TGetDpiForWindow = UINT WINAPI(HWND);
using TGetSystemMetricsForDpi = int WINAPI(int, UINT);
using TAdjustWindowRectExForDpi = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

// Resolved once; null on Windows before 10 (1607).
template <class Function>
Function* User32(const char* entry) noexcept
{
    return OptionalSystemEntry<Function>(L"user32.dll", entry);
}

}  // namespace

int ScaleToDpi(int value, int dpi) noexcept
{
    return MulDiv(value, dpi, DesignDpi);
}

int SystemDpi()
{
    static TGetDpiForSystem* const get = User32<TGetDpiForSystem>("GetDpiForSystem");
    if (get != nullptr) return static_cast<int>(get());
    return ScreenPixelsPerInch();
}

int WindowDpi(HWND window)
{
    static TGetDpiForWindow* const get = User32<TGetDpiForWindow>("GetDpiForWindow");
    if (get != nullptr && window != nullptr) {
        const UINT dpi = get(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) noexcept
{
    static TGetSystemMetricsForDpi* const get = User32<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    if (get != nullptr) return get(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi) noexcept
{
    static TAdjustWindowRectExForDpi* const adjust = User32<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
    if (adjust != nullptr && adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
}
