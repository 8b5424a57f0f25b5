#include "toolkit/userlocale.h"

#include <windows.h>

std::vector<std::wstring> UserPreferredLanguages()
{
    ULONG count = 0;
    ULONG length = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) return {};
    std::wstring buffer(length, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, buffer.data(), &length)) return {};
    // A list of names, each ended by a null, the list by another.
    std::vector<std::wstring> tags;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
        const std::size_t end = buffer.find(L'\0', at);
        tags.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return tags;
}

std::wstring UserDecimalSeparator()
{
    wchar_t separator[8] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return length > 1 ? std::wstring(separator, static_cast<std::size_t>(length - 1)) : std::wstring(L".");
}
