// An access key pressed, matched to a caption's letter as Windows matches a
// menu's: by the system's upper case, which knows every script. The C
// library's, in its "C" locale, knows only a to z, so Alt with "о" would never
// choose "&Оптимизировать".
#pragma once

#include <string_view>

// The letter as Windows upper-cases it.
wchar_t AccelUpper(wchar_t ch) noexcept;
// ch is caption's accelerator, compared without case.
bool IsAccel(wchar_t ch, std::wstring_view caption) noexcept;
