// An off-screen copy of part of a window's client area. A paint composes the
// background and every control drawn on it there, and the screen receives
// the result in one copy: nothing half-drawn ever shows.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/handles.h"

class TPaintBuffer {
public:
    // area is in the target's logical coordinates; the buffer's DC uses the
    // same coordinates, so painting code needs no offset.
    TPaintBuffer(HDC target, const RECT& area) noexcept;
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;
    ~TPaintBuffer();

    // Where to paint: the buffer, or the target itself when the system had
    // no memory for a buffer (a paint that flickers beats no paint).
    HDC DC() const noexcept;
    // Copies the composed area to the target; nothing when unbuffered.
    void Flush();

private:
    struct TSurface;
    HDC target_;
    RECT area_;
    bool rightToLeft_ = false;
    std::unique_ptr<TSurface> surface_;
};
