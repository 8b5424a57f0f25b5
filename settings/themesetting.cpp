#include "settings/themesetting.h"

#include "settings/settingsstore.h"

TThemeChoice ReadThemeSetting()
{
    const auto stored = SettingsStore().Number(kThemeValue);
    if (!stored || *stored > static_cast<std::uint32_t>(TThemeChoice::tcDark)) return TThemeChoice::tcWindows;
    return static_cast<TThemeChoice>(*stored);
}

void WriteThemeSetting(TThemeChoice choice)
{
    SettingsStore().Write({{kThemeValue, static_cast<std::uint32_t>(choice)}});
}
