// The one place where layout values become pixels. Layout values are design
// units: pixels at 96 dpi. A window's pixels are design units scaled by the
// dpi of the monitor it is on; nothing else multiplies by a dpi.
//
// The per-monitor calls of Windows 10 are bound on first use; on older
// Windows every window has the system's dpi.
#pragma once

#include <windows.h>

inline constexpr int DesignDpi = 96;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// A design value in pixels at dpi: MulDiv(value, dpi, 96).
int ScaleToDpi(int value, int dpi) noexcept;

// The dpi of the primary monitor when the program started.
int SystemDpi();
// The dpi window is drawn at; the system's on Windows before 10.
int WindowDpi(HWND window);
// GetSystemMetrics for a window at dpi (icon sizes, frame widths).
int SystemMetricForDpi(int index, int dpi) noexcept;
// The outer rectangle of a window with this style whose client area is r,
// at dpi.
void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi) noexcept;
