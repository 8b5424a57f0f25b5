#include "toolkit/modulepath.h"

#include <windows.h>

#include "toolkit/oserror.h"

std::wstring ExecutablePath()
{
    // GetModuleFileNameW truncates silently (returning the buffer size) when
    // the buffer is too small, so grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) RaiseLastOSError();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) RaiseOSError(ERROR_INSUFFICIENT_BUFFER);
        path.resize(path.size() * 2);
    }
}

std::wstring ExecutableFolder()
{
    const std::wstring path = ExecutablePath();
    return path.substr(0, path.find_last_of(L'\\'));
}
