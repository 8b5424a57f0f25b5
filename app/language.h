// The language the program speaks: the one the user chose in the tray menu
// when it names one of ours, else Windows' display language.
#pragma once

#include <string_view>

#include "toolkit/texts.h"

// The language a stored choice names, in whatever case it was stored;
// nothing for Windows' own: an empty tag, or one that names no language of
// ours. Two choices are the same when they give the same here.
const TLanguage* ChosenLanguage(std::wstring_view chosenTag) noexcept;

// The language for a stored choice: the tagged language, or, for an empty
// or unknown tag, the first of Windows' preferred languages that is here.
const TLanguage& LanguageFor(std::wstring_view chosenTag);

// Speaks the stored choice; for a start, before any text is shown.
void SpeakChosenLanguage();

// Keeps tag (empty: Windows' own) and speaks it from now on; the caller
// re-labels what is shown. Raises what the store raises; then nothing
// changes.
void ChooseLanguageSetting(std::wstring_view tag);
