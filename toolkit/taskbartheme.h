// Whether the user chose a light taskbar (Windows 10 and later), so that
// pictures drawn for the notification area keep their contrast on it.
#pragma once

#include <windows.h>

// False (a dark taskbar, as before Windows 10 and by default since) when no
// choice is stored or the stored value is not a DWORD.
bool TaskbarUsesLightTheme();

// A WM_SETTINGCHANGE whose lParam names the colour set: the system sends it
// when the user switches between the light and the dark taskbar.
bool IsColorSetChange(UINT message, LPARAM lParam);
