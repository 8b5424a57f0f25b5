// The theme the user chose in the tray menu, kept as the number "Theme":
// 0 follows Windows' app mode, 1 is light, 2 is dark.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::wstring_view kThemeValue = L"Theme";

enum class TThemeChoice : std::uint8_t { tcWindows = 0, tcLight = 1, tcDark = 2 };

// The stored choice. Never raises: nothing stored, a value that is not a
// number, or a number outside 0 to 2 all read as tcWindows.
TThemeChoice ReadThemeSetting();

// Keeps choice, as the store writes.
void WriteThemeSetting(TThemeChoice choice);
