#include "toolkit/systemlibrary.h"

#include <string>

#include "toolkit/errors.h"
#include "toolkit/oserror.h"

namespace {

HMODULE LoadSystemLibrary(const wchar_t* library)
{
    // By name, searching the system directory only: a planted copy in the
    // program's folder is never found, and the manifest's side-by-side
    // assemblies (the version 6 common controls) still apply, which a full
    // path would bypass.
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // A Windows 7 without the search-flag update rejects the flag: the full
    // path is the safe choice there.
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(directory, length) + L"\\" + library;
    return LoadLibraryExW(path.c_str(), nullptr, 0);
}

}  // namespace

FARPROC SystemLibraryEntry(const wchar_t* library, const char* entry)
{
    // Never freed: a shell call may leave work running in the library after
    // it returns, and the resolved entry is kept by the caller.
    HMODULE module = LoadSystemLibrary(library);
    if (module == nullptr) {
        const DWORD code = GetLastError();
        throw EOSError(L"Cannot load " + std::wstring(library) + L": " + SystemErrorMessage(code), code);
    }
    FARPROC address = GetProcAddress(module, entry);
    if (address == nullptr) {
        const DWORD code = GetLastError();
        throw EOSError(std::wstring(library) + L" has no entry point " + FromUtf8(entry) + L": " +
                           SystemErrorMessage(code),
                       code);
    }
    return address;
}

FARPROC OptionalSystemLibraryEntry(const wchar_t* library, const char* entry) noexcept
{
    HMODULE module = LoadSystemLibrary(library);
    return module != nullptr ? GetProcAddress(module, entry) : nullptr;
}
