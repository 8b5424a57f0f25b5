#include "toolkit/handles.h"

TWindowDC::TWindowDC(HWND window, bool wholeWindow)
    : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window))
{
    if (dc_ == nullptr) RaiseLastOSError();
}

TWindowDC::~TWindowDC()
{
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
}

TPaintDC::TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_))
{
    if (dc_ == nullptr) RaiseLastOSError();
}

TPaintDC::~TPaintDC()
{
    EndPaint(window_, &ps_);
}

TMemoryDC::TMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith))
{
    if (dc_ == nullptr) RaiseLastOSError();
}

TMemoryDC::~TMemoryDC()
{
    if (dc_ != nullptr) DeleteDC(dc_);
}

TSelectObject::TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object))
{
    if (old_ == nullptr || old_ == HGDI_ERROR) RaiseLastOSError();
}

TSelectObject::~TSelectObject()
{
    SelectObject(dc_, old_);
}

TSavedDC::TSavedDC(HDC dc) : dc_(dc), state_(SaveDC(dc))
{
    if (state_ == 0) RaiseLastOSError();
}

TSavedDC::~TSavedDC()
{
    RestoreDC(dc_, state_);
}

TWindowTimer::TWindowTimer(HWND window, UINT_PTR id, UINT milliseconds) : window_(window), id_(id)
{
    if (SetTimer(window, id, milliseconds, nullptr) == 0) {
        window_ = nullptr;
        RaiseLastOSError();
    }
}

TWindowTimer& TWindowTimer::operator=(TWindowTimer&& other) noexcept
{
    if (this != &other) {
        Reset();
        window_ = std::exchange(other.window_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

void TWindowTimer::Reset() noexcept
{
    if (window_ != nullptr) KillTimer(window_, id_);
    window_ = nullptr;
}
