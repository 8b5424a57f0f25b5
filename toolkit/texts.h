// Every text a user sees or hears, looked up by its id in the chosen
// language's table; English, the program's own words, is the fallback.
// The tables are made at build time from resources/lang/*.txt, one file per
// language, checked there for completeness. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/texts_table.h"

struct TLanguage {
    const wchar_t* Tag;   // BCP 47: "de", "pt-BR", "zh-Hans"
    const wchar_t* Name;  // in itself: "Deutsch"
    bool RightToLeft;
    // English: its texts by TText, in UTF-8, as they are.
    const char* const* Texts;
    // Every other language: its texts in the same order, each ended by a
    // zero, in UTF-8, packed with DEFLATE; unpacked when first spoken.
    const unsigned char* Packed;
    std::uint32_t PackedSize;
    std::uint32_t Size;
};

// The tables, made from resources/lang by resources/texts.py: English first.
extern const TLanguage kLanguages[kLanguageCount];

// Every language, English first.
std::span<const TLanguage> Languages() noexcept;
const TLanguage& EnglishLanguage() noexcept;
// The language tagged tag exactly (case aside); nothing when there is none.
const TLanguage* FindLanguage(std::wstring_view tag) noexcept;
// The first of the user's preferred languages (in order) that is here: each
// as it is, then in the form Windows names its script (zh-CN: zh-Hans), then
// its base language (de-AT: de; sr-Cyrl: sr-Latn; nn: nb; pt-AO: pt-PT).
// English when none is.
const TLanguage& ChooseLanguage(const std::vector<std::wstring>& preferred) noexcept;

// The language texts come in; English until another is chosen. A
// translated interface writes figures with the user's decimal separator;
// English keeps its ".".
const TLanguage& CurrentLanguage() noexcept;
void SetCurrentLanguage(const TLanguage& language, std::wstring_view userDecimal = L".");
bool IsEnglish() noexcept;
std::wstring DecimalSeparator();

// The text in the current language.
std::wstring Text(TText id);
// The text with {1}, {2} … replaced by args in order of their numbers.
std::wstring Text(TText id, std::initializer_list<std::wstring_view> args);
// pattern with {1}, {2} … replaced; a placeholder without an argument stays.
std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

// Texts a window sets from the tables, each set again when the language
// changes, so the window is re-labelled in place.
class TTextBindings {
public:
    using TSetter = std::function<void(const std::wstring& text)>;
    // Sets the text now, and again on every Apply.
    void Bind(TSetter set, TText id);
    // Runs apply now, and again on every Apply: what else follows the
    // language (a font that must have its script).
    void Restyle(std::function<void()> apply);
    void Apply() const;

private:
    std::vector<std::function<void()>> styles_;
    std::vector<std::pair<TSetter, TText>> bindings_;
};
