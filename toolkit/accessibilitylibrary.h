// The libraries a screen reader's requests need (oleacc, with ole32 and
// oleaut32 under it), bound on the first WM_GETOBJECT: a start that no
// assistive tool reads loads none of them.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

// Readies the calling (user-interface) thread for the requests: COM as a
// single-threaded apartment, kept for the life of the thread. Raises EOSError
// when a library or entry is missing.
void PrepareAccessibility();

// oleacc's standard object for a window (CreateStdAccessibleObject), as
// IAccessible; raises EOSError when it cannot be made.
IAccessible* CreateStandardAccessible(HWND window, LONG objectId);
// LresultFromObject: the answer to WM_GETOBJECT that hands object over.
LRESULT AccessibleResult(WPARAM wParam, IAccessible* object);
// CoDisconnectObject: calls from other processes that still hold the object
// answer an error from now on. Only reached after PrepareAccessibility.
void DisconnectAccessible(IUnknown* object) noexcept;
// SysAllocString, for the texts handed to the caller (who frees them);
// null when text is empty or memory ran out.
BSTR AllocAccessibleText(const std::wstring& text);
// VariantClear, for answers of the standard object that are not passed on.
void ClearAccessibleVariant(VARIANT& value) noexcept;
