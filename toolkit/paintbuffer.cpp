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
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    try {
        surface_ = std::make_unique<TSurface>(target, width, height);
        // The buffer's pixel (0,0) is the area's top-left corner.
        SetViewportOrgEx(surface_->dc.Get(), -area.left, -area.top, nullptr);
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
    if (!BitBlt(target_, area_.left, area_.top, width, height, surface_->dc.Get(), area_.left, area_.top, SRCCOPY))
        RaiseLastOSError();
}
