#include "settings/languagesetting.h"

#include "settings/settingsstore.h"

namespace {

// The longest tag a BCP 47 name reasonably has ("zh-Hant-TW" and the like).
constexpr std::size_t kLongestTag = 35;

} // namespace

std::wstring ReadLanguageSetting()
{
    return SettingsStore().Text(kLanguageValue, kLongestTag).value_or(std::wstring());
}

void WriteLanguageSetting(std::wstring_view tag)
{
    SettingsStore().Write({{kLanguageValue, std::wstring(tag)}});
}
