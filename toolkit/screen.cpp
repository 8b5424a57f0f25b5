#include "toolkit/screen.h"

#include "toolkit/dpi.h"
#include "toolkit/graphics.h"

namespace {
TScreen screenInstance;
}

TScreen* Screen = &screenInstance;

HCURSOR TScreen::CursorHandle(TCursor cursor)
{
    const wchar_t* id = IDC_ARROW;
    switch (cursor) {
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crHandPoint: id = IDC_HAND; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    default: break;
    }
    return LoadCursorW(nullptr, id);
}

void TScreen::SetCursor(TCursor value)
{
    if (value == cursor_) return;
    cursor_ = value;
    if (value != crDefault) {
        ::SetCursor(CursorHandle(value));
        return;
    }
    // Back to the controls' own cursors: ask the window under the pointer.
    POINT p;
    if (!GetCursorPos(&p)) return;
    HWND w = WindowFromPoint(p);
    if (w == nullptr || GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) return;
    const LRESULT hit = SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(hit, WM_MOUSEMOVE));
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

int TScreen::PixelsPerInch() const
{
    return ScreenPixelsPerInch();
}

TFontFace MessageFontFace()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    // At the system's dpi, which the design units are turned back from.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
        metrics.lfMessageFont.lfFaceName[0] == L'\0')
        return {L"MS Shell Dlg 2", -11};
    const int height = metrics.lfMessageFont.lfHeight;
    return {metrics.lfMessageFont.lfFaceName, height < 0 ? MulDiv(height, DesignDpi, SystemDpi()) : -11};
}
