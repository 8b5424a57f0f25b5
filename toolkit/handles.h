// Move-only owners of Win32 handles. Each wrapper releases its handle exactly
// once, on every path; copying is deleted so ownership is never ambiguous.
// Constructors that acquire a handle raise EOSError when the system refuses.
#pragma once

#include <windows.h>

#include <utility>

#include "toolkit/oserror.h"

// A handle released by a plain function: GDI objects, icons, kernel handles.
template <class H, class Traits>
class TUniqueHandle {
public:
    TUniqueHandle() noexcept = default;
    explicit TUniqueHandle(H handle) noexcept : handle_(handle) {}
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() { Reset(); }

    H Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }
    H Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(H handle = Traits::Invalid()) noexcept
    {
        H old = std::exchange(handle_, handle);
        if (Traits::IsValid(old) && old != handle) Traits::Close(old);
    }

private:
    H handle_ = Traits::Invalid();
};

struct TGdiObjectTraits {
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static bool IsValid(HGDIOBJ h) noexcept { return h != nullptr; }
    static void Close(HGDIOBJ h) noexcept { DeleteObject(h); }
};

template <class H>
struct TTypedGdiTraits {
    static H Invalid() noexcept { return nullptr; }
    static bool IsValid(H h) noexcept { return h != nullptr; }
    static void Close(H h) noexcept { DeleteObject(h); }
};

struct TIconTraits {
    static HICON Invalid() noexcept { return nullptr; }
    static bool IsValid(HICON h) noexcept { return h != nullptr; }
    static void Close(HICON h) noexcept { DestroyIcon(h); }
};

// Thread, event and mutex handles; both null and INVALID_HANDLE_VALUE mean "none".
struct TKernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

// A window of our own that no object procedure serves (a tooltip, say).
struct TWindowTraits {
    static HWND Invalid() noexcept { return nullptr; }
    static bool IsValid(HWND h) noexcept { return h != nullptr; }
    static void Close(HWND h) noexcept { DestroyWindow(h); }
};

using TUniqueFont = TUniqueHandle<HFONT, TTypedGdiTraits<HFONT>>;
using TUniquePen = TUniqueHandle<HPEN, TTypedGdiTraits<HPEN>>;
using TUniqueBrush = TUniqueHandle<HBRUSH, TTypedGdiTraits<HBRUSH>>;
using TUniqueBitmap = TUniqueHandle<HBITMAP, TTypedGdiTraits<HBITMAP>>;
using TUniqueRegion = TUniqueHandle<HRGN, TTypedGdiTraits<HRGN>>;
using TUniqueIcon = TUniqueHandle<HICON, TIconTraits>;
using TUniqueKernelHandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;
using TUniqueWindow = TUniqueHandle<HWND, TWindowTraits>;

// The DC of a window (GetDC/ReleaseDC). A null window gives the screen's DC.
class TWindowDC {
public:
    // The client area's DC, or with wholeWindow the frame's too (GetWindowDC).
    explicit TWindowDC(HWND window, bool wholeWindow = false);
    TWindowDC(TWindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    TWindowDC& operator=(TWindowDC&&) = delete;
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC();
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint around one WM_PAINT.
class TPaintDC {
public:
    explicit TPaintDC(HWND window);
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    ~TPaintDC();
    HDC Get() const noexcept { return dc_; }
    const RECT& PaintRect() const noexcept { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory DC compatible with another DC (or the screen when null).
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr);
    TMemoryDC(TMemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    TMemoryDC& operator=(TMemoryDC&&) = delete;
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    ~TMemoryDC();
    HDC Get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on destruction.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object);
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject();

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC: clip regions, origins and selections set inside the scope
// are undone when it ends.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc);
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC();

private:
    HDC dc_;
    int state_;
};

// A window timer (SetTimer/KillTimer) on a window of ours.
class TWindowTimer {
public:
    TWindowTimer() noexcept = default;
    TWindowTimer(HWND window, UINT_PTR id, UINT milliseconds);
    TWindowTimer(TWindowTimer&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), id_(other.id_) {}
    TWindowTimer& operator=(TWindowTimer&& other) noexcept;
    TWindowTimer(const TWindowTimer&) = delete;
    TWindowTimer& operator=(const TWindowTimer&) = delete;
    ~TWindowTimer() { Reset(); }
    explicit operator bool() const noexcept { return window_ != nullptr; }
    void Reset() noexcept;

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};
