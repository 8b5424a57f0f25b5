#include "app/language.h"

#include "settings/languagesetting.h"
#include "toolkit/userlocale.h"

namespace {

void Speak(const TLanguage& language)
{
    SetCurrentLanguage(language, UserDecimalSeparator());
}

} // namespace

const TLanguage* ChosenLanguage(std::wstring_view chosenTag) noexcept
{
    return chosenTag.empty() ? nullptr : FindLanguage(chosenTag);
}

const TLanguage& LanguageFor(std::wstring_view chosenTag)
{
    if (const TLanguage* chosen = ChosenLanguage(chosenTag)) return *chosen;
    return ChooseLanguage(UserPreferredLanguages());
}

void SpeakChosenLanguage()
{
    Speak(LanguageFor(ReadLanguageSetting()));
}

void ChooseLanguageSetting(std::wstring_view tag)
{
    WriteLanguageSetting(tag);
    Speak(LanguageFor(tag));
}
