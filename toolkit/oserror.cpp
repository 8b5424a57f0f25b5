#include "toolkit/oserror.h"

#include <windows.h>
#include "toolkit/texts.h"

std::wstring SystemErrorMessage(std::uint32_t code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) text = Text(TText::ErrorSystem, {std::to_wstring(code)});
    return text;
}

void RaiseOSError(std::uint32_t code)
{
    throw EOSError(SystemErrorMessage(code), code);
}

void RaiseLastOSError()
{
    RaiseOSError(GetLastError());
}
