// The common-controls library (built-in classes such as the track bar, the
// tab control and the tooltip, and window subclassing), bound when first
// needed: a start that shows none of them does not load it, nor the images
// it loads with it. It is found by name, so the version 6 assembly that the
// program's manifest names is the one used.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Registers the built-in classes named by `classes` (ICC_* flags) before a
// window of one of them is created. Raises EOSError if the library cannot
// be loaded or refuses.
void RegisterCommonControls(DWORD classes);

// SetWindowSubclass, RemoveWindowSubclass and DefSubclassProc through the
// library bound on first use. Installing raises EOSError if the library
// cannot be loaded; the other two are only reached for a window that was
// subclassed, so the library is already there.
bool InstallSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
void RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) noexcept;
LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
