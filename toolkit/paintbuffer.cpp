#include "toolkit/paintbuffer.h"

#include <new>

#include "toolkit/oserror.h"

// Declared in the order of acquisition, so that the bitmap is put out of the
// DC before the DC goes, and the DC goes before the bitmap is deleted.
struct TPaintBuffer::TSurface {
    TMemoryDC dc;
    TUniqueBitmap bitmap;
    TSelectObject select;

    TSurface(HDC target, int width, int height)
        : dc(target), bitmap(Checked(CreateCompatibleBitmap(target, width, height))), select(dc.Get(), bitmap.Get())
    {
    }

    static HBITMAP Checked(HBITMAP bitmap)
    {
        if (bitmap == nullptr) RaiseLastOSError();
        return bitmap;
    }
};

TPaintBuffer::TPaintBuffer(HDC target, const RECT& area) noexcept : target_(target), area_(area)
{
    // A mirrored window composes mirrored: its logical left is on the right.
    // Its buffer is as wide as its client area, so that both mirror about
    // the same edge. Pictures keep their orientation: the controls compose
    // their faces as they are to be seen.
    rightToLeft_ = (GetLayout(target) & LAYOUT_RTL) != 0;
    RECT client{};
    if (rightToLeft_ && GetClientRect(WindowFromDC(target), &client)) area_ = {0, area.top, client.right, area.bottom};
    const int width = area_.right - area_.left;
    const int height = area_.bottom - area_.top;
    if (width <= 0 || height <= 0) return;
    try {
        surface_ = std::make_unique<TSurface>(target, width, height);
        if (rightToLeft_) SetLayout(surface_->dc.Get(), LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED);
        // The buffer's pixel (0,0) is the area's top-left corner.
        SetViewportOrgEx(surface_->dc.Get(), -area_.left, -area_.top, nullptr);
    } catch (...) {
        surface_.reset();
    }
}

TPaintBuffer::~TPaintBuffer() = default;

HDC TPaintBuffer::DC() const noexcept
{
    return surface_ ? surface_->dc.Get() : target_;
}

void TPaintBuffer::Flush()
{
    if (!surface_) return;
    const int width = area_.right - area_.left;
    const int height = area_.bottom - area_.top;
    const DWORD copy = rightToLeft_ ? SRCCOPY | NOMIRRORBITMAP : SRCCOPY;
    if (!BitBlt(target_, area_.left, area_.top, width, height, surface_->dc.Get(), area_.left, area_.top, copy))
        RaiseLastOSError();
}
