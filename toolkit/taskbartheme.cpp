#include "toolkit/taskbartheme.h"

#include <cwchar>

namespace {

// The DWORD value of Windows' personalisation, or orElse when there is none.
bool PersonalizeFlag(const wchar_t* name, bool orElse)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", name,
                     RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status == ERROR_SUCCESS ? value != 0 : orElse;
}

}  // namespace

bool TaskbarUsesLightTheme()
{
    return PersonalizeFlag(L"SystemUsesLightTheme", false);
}

bool AppsUseLightTheme()
{
    return PersonalizeFlag(L"AppsUseLightTheme", true);
}

bool IsColorSetChange(UINT message, LPARAM lParam)
{
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return message == WM_SETTINGCHANGE && area != nullptr && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}
