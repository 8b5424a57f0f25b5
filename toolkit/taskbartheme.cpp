#include "toolkit/taskbartheme.h"

#include <cwchar>

bool TaskbarUsesLightTheme()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"SystemUsesLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status == ERROR_SUCCESS && value != 0;
}

bool IsColorSetChange(UINT message, LPARAM lParam)
{
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return message == WM_SETTINGCHANGE && area != nullptr && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}
