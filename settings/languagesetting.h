// The language the user chose in the tray menu, kept as the text
// "Language": a BCP 47 tag, empty for Windows' own display language.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::wstring_view kLanguageValue = L"Language";

// The stored tag. Never raises: nothing stored, a value that is not a
// text, or one too long to be a tag all read as empty.
std::wstring ReadLanguageSetting();

// Keeps tag (empty: Windows' own), as the store writes.
void WriteLanguageSetting(std::wstring_view tag);
