// The theme the user chose in the tray menu, kept as the REG_DWORD "Theme"
// under HKEY_CURRENT_USER\Software\Quenfel: 0 follows Windows' app mode,
// 1 is light, 2 is dark.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::wstring_view kThemeValue = L"Theme";

enum class TThemeChoice : std::uint8_t { tcWindows = 0, tcLight = 1, tcDark = 2 };

// The stored choice. Never raises: nothing stored, a value that is not a
// REG_DWORD of four bytes, or a number outside 0 to 2 all read as tcWindows.
TThemeChoice ReadThemeSetting();

// Keeps choice. Raises EOSError when the key cannot be opened for writing
// and ERegistryException when the write is refused.
void WriteThemeSetting(TThemeChoice choice);
