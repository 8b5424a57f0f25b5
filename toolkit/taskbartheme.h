// Which of Windows' light and dark modes the user chose (Windows 10 and
// later): for the taskbar, so that pictures drawn for the notification area
// keep their contrast on it, and for apps, which a window may follow.
#pragma once

#include <windows.h>

// False (a dark taskbar, as before Windows 10 and by default since) when no
// choice is stored or the stored value is not a DWORD.
bool TaskbarUsesLightTheme();

// True (light apps, as before Windows 10 and by default since) unless the
// user chose dark apps: AppsUseLightTheme is a DWORD 0.
bool AppsUseLightTheme();

// A WM_SETTINGCHANGE whose lParam names the colour set: the system sends it
// when the user switches between the light and the dark taskbar.
bool IsColorSetChange(UINT message, LPARAM lParam);
