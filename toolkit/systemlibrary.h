// Entry points of system libraries resolved when first needed, so that a
// library the program rarely uses is not loaded (with everything it pulls in)
// at every start.
#pragma once

#include <windows.h>

// The entry point `entry` of the system library `library` (a file name such
// as L"shell32.dll", always taken from the system directory, or from the
// side-by-side assembly the program's manifest names for it; never from the
// program's folder or the search path). The library stays loaded for the
// life of the process. Raises EOSError naming the library and the entry when
// either is missing.
FARPROC SystemLibraryEntry(const wchar_t* library, const char* entry);

// The same, or null when the library or the entry is missing: for a call
// that newer Windows offers and older Windows does without.
FARPROC OptionalSystemLibraryEntry(const wchar_t* library, const char* entry) noexcept;

template <class Function>
Function* OptionalSystemEntry(const wchar_t* library, const char* entry) noexcept
{
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(OptionalSystemLibraryEntry(library, entry)));
}

template <class Function>
Function* SystemEntry(const wchar_t* library, const char* entry)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemLibraryEntry(library, entry)));
}
