#include "toolkit/accelkey.h"

#include <windows.h>

#include "toolkit/accel.h"

wchar_t AccelUpper(wchar_t ch) noexcept
{
    CharUpperBuffW(&ch, 1);
    return ch;
}

bool IsAccel(wchar_t ch, std::wstring_view caption) noexcept
{
    const wchar_t accel = AccelChar(caption);
    return accel != 0 && ch != 0 && AccelUpper(accel) == AccelUpper(ch);
}
