// Identifiers of the program's resources, shared by quenfel.rc and the code
// that loads them.
#pragma once

// The only icon, so the shell and the window frame both pick it; it holds
// 16, 20, 24, 32, 40, 48, 64 and 256 px images, each size drawn for itself.
#define IDI_QUENFEL 1

// Glyphs of the main window's buttons (16 x 16, 24 bpp, white background).
#define IDB_BUTTON_OPTIMIZE 101
#define IDB_BUTTON_SETTINGS 102
#define IDB_BUTTON_TRAY 103
// Glyphs of the settings page's flat buttons (4 bpp).
#define IDB_SPEED_SETTINGS 104
#define IDB_SPEED_OPTIMIZE 105
// Bitmaps of the tray menu's items (16 x 16, 4 bpp, system palette).
// Every bitmap also comes drawn at 125, 150 and 200 %, under its identifier
// plus 1000, 2000 and 3000 (toolkit/artworkscale.h picks the one shown).
#define IDB_MENU_OPEN_MAIN 106
#define IDB_MENU_OPTIMIZE 107

#ifndef RC_INVOKED
// The spin arrows are looked up by name by the spin button, so any program
// linking the spin edit can supply its own (and name plus _125, _150, _200).
inline constexpr const wchar_t* kSpinUpBitmap = L"SpinUp";
inline constexpr const wchar_t* kSpinDownBitmap = L"SpinDown";
#endif
