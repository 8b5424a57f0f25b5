#include "toolkit/systemlibrary.h"

#include <string>

#include "toolkit/errors.h"
#include "toolkit/oserror.h"

FARPROC SystemLibraryEntry(const wchar_t* library, const char* entry)
{
    // A bare name would also search the program's folder, where a planted
    // copy could wait.
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) RaiseLastOSError();
    const std::wstring path = std::wstring(directory, length) + L"\\" + library;

    // Never freed: a shell call may leave work running in the library after
    // it returns, and the resolved entry is kept by the caller.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, 0);
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
