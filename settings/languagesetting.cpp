#include "settings/languagesetting.h"

#include <windows.h>

#include "settings/usersettings.h"
#include "toolkit/oserror.h"
#include "toolkit/registry.h"

namespace {

// The longest tag a BCP 47 name reasonably has ("zh-Hant-TW" and the like).
constexpr DWORD kLongestTag = 35;

} // namespace

std::wstring ReadLanguageSetting()
{
    HKEY key = nullptr;
    const std::wstring path(kUserSettingsKey);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
    // One character more than a tag may have, so a longer value reads as too long.
    wchar_t text[kLongestTag + 2] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = REG_NONE;
    const std::wstring name(kLanguageValue);
    const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ || size % sizeof(wchar_t) != 0) return {};
    // Stored with or without its ending null.
    std::wstring tag(text, size / sizeof(wchar_t));
    while (!tag.empty() && tag.back() == L'\0') tag.pop_back();
    if (tag.size() > kLongestTag || tag.find(L'\0') != std::wstring::npos) return {};
    return tag;
}

void WriteLanguageSetting(std::wstring_view tag)
{
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(L"\\" + std::wstring(kUserSettingsKey), true)) RaiseLastOSError();
    reg.WriteString(kLanguageValue, std::wstring(tag));
}
