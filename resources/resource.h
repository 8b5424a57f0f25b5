// Identifiers of the program's resources, shared by quenfel.rc and the code
// that loads them.
#pragma once

// The only icon, so the shell and the window frame both pick it.
#define IDI_QUENFEL 1

// Glyphs of the main window's buttons (16 x 16, 24 bpp, white background).
#define IDB_BUTTON_OPTIMIZE 101
#define IDB_BUTTON_SETTINGS 102
#define IDB_BUTTON_TRAY 103
// Glyphs of the settings page's flat buttons (4 bpp).
#define IDB_SPEED_SETTINGS 104
#define IDB_SPEED_OPTIMIZE 105
// Bitmaps of the tray menu's items (16 x 16, 4 bpp, system palette).
#define IDB_MENU_OPEN_MAIN 106
#define IDB_MENU_OPTIMIZE 107

// "%d MB": the slider's megabyte caption.
#define IDS_MB_FORMAT 1

#ifndef RC_INVOKED
// The spin arrows are looked up by name by the spin button, so any program
// linking the spin edit can supply its own.
inline constexpr const wchar_t* kSpinUpBitmap = L"SpinUp";
inline constexpr const wchar_t* kSpinDownBitmap = L"SpinDown";
#endif
