#include "settings/themesetting.h"

#include <windows.h>

#include <string>

#include "settings/storedsettings.h"
#include "settings/usersettings.h"
#include "toolkit/oserror.h"
#include "toolkit/registry.h"

TThemeChoice ReadThemeSetting()
{
    // Room for more than a DWORD, so that a larger value reads as the wrong
    // size instead of failing for the buffer.
    std::uint8_t data[8] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    const std::wstring path(kUserSettingsKey), name(kThemeValue);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
        ERROR_SUCCESS)
        return TThemeChoice::tcWindows;
    const auto stored = StoredDword(type, data, size);
    if (!stored || *stored > static_cast<std::uint32_t>(TThemeChoice::tcDark)) return TThemeChoice::tcWindows;
    return static_cast<TThemeChoice>(*stored);
}

void WriteThemeSetting(TThemeChoice choice)
{
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(L"\\" + std::wstring(kUserSettingsKey), true)) RaiseLastOSError();
    reg.WriteInteger(kThemeValue, static_cast<std::int32_t>(choice));
}
