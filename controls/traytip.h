// The tip the tray icon hands to the shell. Platform-free.
#pragma once

#include <string>
#include <string_view>

// The shell's tip field holds 63 characters and a terminating zero.
inline constexpr size_t TrayTipMaxLength = 63;

// The short hint (the text before the first "|", all of it without one),
// cut to TrayTipMaxLength characters. A cut never splits a surrogate pair.
std::wstring TrayTip(std::wstring_view hint);
