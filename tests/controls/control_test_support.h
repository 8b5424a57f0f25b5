// Shared by the control tests: a shown form to host controls, message
// pumping, and pixels read back from real windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/gradientprogressbar.h"
#include "toolkit/application.h"
#include "toolkit/color.h"
#include "toolkit/forms.h"

namespace ctltest {

// Handles every queued message (and lets sent ones in).
inline void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps for a while: lets timers and other threads' work arrive.
inline void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        Sleep(5);
    }
}

// Pumps until done() holds or the deadline passes; true when done() came
// first. Timed behaviour is waited for this way, never by a fixed sleep.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(2);
    }
}

// A form shown at a fixed place on the desktop, destroyed with the fixture.
struct THostForm {
    std::unique_ptr<TForm> form;
    explicit THostForm(int width = 320, int height = 200)
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        static_cast<TControl&>(*form).SetBounds(40, 40, width, height);  // public on every control
        form->SetColor(clWhite);
        form->Show();
        Pump();
    }
    HWND Handle() { return form->Handle(); }
};

// The pixels of a window's client area as its own paint draws them
// (WM_PRINTCLIENT into a 32-bit DIB), as TColor values (0x00BBGGRR);
// mirrored: as a right-to-left window's own DC receives them, so the pixels
// are those the screen shows.
class TCapture {
public:
    TCapture(HWND window, int width, int height, bool mirrored = false) : width_(width), height_(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bmp);
        if (mirrored) SetLayout(dc, LAYOUT_RTL);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<size_t>(width) * height);
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    TColor At(int x, int y) const
    {
        const std::uint32_t v = pixels_.at(static_cast<size_t>(y) * width_ + x);
        return static_cast<TColor>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
    }

private:
    int width_, height_;
    std::vector<std::uint32_t> pixels_;
};

// What is on the window's surface right now (no paint message involved).
inline TColor ScreenPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

inline TColor Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The count of this process's drawing objects. Windows answers
// GetGuiResources; Wine answers 0 there, but still finds each object by the
// index its handle carries, so every index is asked.
inline int GdiObjects()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    int n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
    return n;
}

// A gradient progress bar that counts every paint, whoever asks for it.
class TCountingBar : public TGradientProgressBar {
public:
    using TGradientProgressBar::TGradientProgressBar;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TGradientProgressBar::Paint();
    }
};

}  // namespace ctltest
