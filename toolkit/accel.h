// Accelerator letters of captions: "&Optimize" answers Alt+O (or O alone where
// the focused control does not take characters). Platform-free; the letter is
// matched to a key in toolkit/accelkey.h.
#pragma once

#include <string_view>

// The character after the last single "&" ("&&" is a literal "&"), or 0.
wchar_t AccelChar(std::wstring_view caption);
