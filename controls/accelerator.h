// The accelerator character of a caption ("&Optimize Now" -> 'O'), which
// answers the dialog-character query. Platform-free.
#pragma once

#include <string_view>

// The character after the last single "&"; a doubled "&&" is a literal "&"
// and is skipped as a pair. 0 when the caption has none (a trailing lone "&"
// marks nothing).
wchar_t AcceleratorChar(std::wstring_view caption);

// ch is the caption's accelerator, ASCII letters compared without case.
bool IsAccelerator(wchar_t ch, std::wstring_view caption);
